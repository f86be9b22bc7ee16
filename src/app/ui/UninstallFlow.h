// The Uninstall command: confirmation, removal of the user's Quennary files, a note on removing the
// package, the after-uninstall page, and the end of the process.
#pragma once

#include <functional>
#include <memory>

#include <QString>
#include <QUrl>

#include "app/Uninstaller.h"

class QWidget;

class UninstallFlow
{
public:
    using AddressProvider = std::function<QString()>;
    using UrlOpener = std::function<void(const QUrl &)>;
    using Terminator = std::function<void()>;

    // `terminate` ends the application (it must not write settings or the log again, or their
    // folders come back). Without `uninstaller` the default one is used.
    explicit UninstallFlow(Terminator terminate, std::unique_ptr<Uninstaller> uninstaller = nullptr);

    // Where the after-uninstall page address comes from; without one no page is opened.
    void setAfterUninstallAddress(AddressProvider provider) { m_address = std::move(provider); }
    // How a page is opened; the desktop's browser unless replaced.
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

    // Runs the whole flow with its alerts over the window of `over`. Only the confirm button goes
    // on; any other answer changes nothing. After it the settings are never written again in
    // this run, and the page opens only when everything was removed.
    void run(QWidget *over);

private:
    bool confirm(QWidget *over) const;
    void showPackageRemovalNote(QWidget *over, bool removed) const;
    void openAfterUninstallPage() const;

    Terminator m_terminate;
    std::unique_ptr<Uninstaller> m_uninstaller;
    AddressProvider m_address;
    UrlOpener m_openUrl;
};
