// The Uninstall command's dialogue and order of steps.
#include "app/ui/UninstallFlow.h"

#include <QDesktopServices>

#include "app/LocalizedString.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"
#include "platform/ui/AlertPresenter.h"

namespace {

// The second button confirms.
constexpr int kConfirmResponse = AlertPresenter::kFirstButton + 1;

} // namespace

UninstallFlow::UninstallFlow(Terminator terminate, std::unique_ptr<Uninstaller> uninstaller)
    : m_terminate(std::move(terminate))
    , m_uninstaller(uninstaller ? std::move(uninstaller) : std::make_unique<Uninstaller>())
    , m_openUrl([](const QUrl &url) { QDesktopServices::openUrl(url); })
{
}

void UninstallFlow::run(QWidget *over)
{
    if (!confirm(over))
        return;
    // Windows save their frames as they close: nothing may bring the settings file back.
    UserDefaults::standard().stopSaving();
    // What is left is named in the note; the process ends either way, as there is nothing left for
    // it to do.
    const bool removed = m_uninstaller->removeApplicationSupportFiles();
    showPackageRemovalNote(over, removed);
    if (removed)
        openAfterUninstallPage();
    if (m_terminate)
        m_terminate();
}

bool UninstallFlow::confirm(QWidget *over) const
{
    const QString name = Uninstaller::displayName();
    AlertSpec alert;
    alert.messageText = formatText(localizedString(QStringLiteral("ID_ASK_UNINSTALL")), name);
    alert.informativeText = Uninstaller::confirmationText();
    alert.buttons = { localizedString(QStringLiteral("ID_NO")), localizedString(QStringLiteral("ID_YES")) };
    alert.style = AlertSpec::Style::Warning;
    return AlertPresenter::current().runAlert(alert, over) == kConfirmResponse;
}

// Tells what was removed, or that something was left. Shown before the page opens, so the browser window cannot hide it while the process waits.
void UninstallFlow::showPackageRemovalNote(QWidget *over, bool removed) const
{
    AlertSpec alert;
    alert.messageText = removed ? Uninstaller::packageRemovalNote()
                                : formatText(localizedString(QStringLiteral("ID_UNINSTALL_INCOMPLETE")),
                                      Uninstaller::displayName());
    if (!removed)
        alert.informativeText = m_uninstaller->leftOver().join(QLatin1Char('\n'));
    alert.buttons = {localizedString(QStringLiteral("ID_OK_CAPS"))};
    alert.style = AlertSpec::Style::Informational;
    AlertPresenter::current().runAlert(alert, over);
}

void UninstallFlow::openAfterUninstallPage() const
{
    if (!m_address || !m_openUrl)
        return;
    const QUrl url = Uninstaller::afterUninstallUrl(m_address());
    if (!url.isEmpty())
        m_openUrl(url);
}
