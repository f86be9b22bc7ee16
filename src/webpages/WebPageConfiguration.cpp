#include "webpages/WebPageConfiguration.h"

#include "platform/Configuration.h"

WebPageConfiguration WebPageConfiguration::current()
{
    WebPageConfiguration pages;
    pages.echoUrl = Configuration::value("QUENNARY_WEB_ECHO_URL", QStringLiteral("webEchoUrl"));
    pages.trackingUrl = Configuration::value("QUENNARY_WEB_TRACKING_URL", QStringLiteral("webTrackingUrl"));
    pages.afterInstallUrl
        = Configuration::value("QUENNARY_WEB_AFTER_INSTALL_URL", QStringLiteral("webAfterInstallUrl"));
    pages.afterUpdateUrl
        = Configuration::value("QUENNARY_WEB_AFTER_UPDATE_URL", QStringLiteral("webAfterUpdateUrl"));
    pages.afterUninstallUrl
        = Configuration::value("QUENNARY_WEB_AFTER_UNINSTALL_URL", QStringLiteral("webAfterUninstallUrl"));
    pages.campaignWord = Configuration::value("QUENNARY_WEB_CAMPAIGN", QStringLiteral("webCampaignWord"));
    return pages;
}
