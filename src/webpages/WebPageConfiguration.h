// The addresses of the after-install, after-update and after-uninstall pages, the address-echo
// page, the tracking host and the campaign word. All are empty unless configured (environment,
// then settings): a default build talks to no outside host.
#pragma once

#include <QString>

struct WebPageConfiguration {
    QString echoUrl;
    // Ends in "tempfile/"; this computer's address is appended.
    QString trackingUrl;
    QString afterInstallUrl;
    QString afterUpdateUrl;
    QString afterUninstallUrl;
    QString campaignWord;

    static WebPageConfiguration current();
};
