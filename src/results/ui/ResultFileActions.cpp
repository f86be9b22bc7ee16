// Open, reveal and Quick Look of the results window.
#include "results/ui/ResultFileActions.h"

#include <QDesktopServices>
#include <QFileInfo>

#ifdef QNY_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#endif

#include "model/ImageFileInfo.h"
#include "platform/Log.h"

namespace
{

constexpr int kRevealTimeoutMs = 2000;

} // namespace

void ResultFileActions::openFile() const
{
    const auto record = chosenRecord ? chosenRecord() : nullptr;
    if (record && openUrl)
        openUrl(QUrl::fromLocalFile(record->filePath));
}

void ResultFileActions::revealInFinder() const
{
    const auto record = chosenRecord ? chosenRecord() : nullptr;
    if (record && revealUrl)
        revealUrl(QUrl::fromLocalFile(record->filePath));
}

void ResultFileActions::quickLook() const
{
    const auto record = chosenRecord ? chosenRecord() : nullptr;
    if (record && quickLookUrl)
        quickLookUrl(QUrl::fromLocalFile(record->filePath));
}

void ResultFileActions::defaultOpenUrl(const QUrl &url, const Refused &refused)
{
    if (!QDesktopServices::openUrl(url) && refused)
        refused(url);
}

void ResultFileActions::defaultRevealUrl(const QUrl &url, const Refused &refused)
{
    const QUrl folder = QUrl::fromLocalFile(QFileInfo(url.toLocalFile()).path());
#ifdef QNY_HAVE_DBUS
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.FileManager1"),
            QStringLiteral("/org/freedesktop/FileManager1"), QStringLiteral("org.freedesktop.FileManager1"),
            QStringLiteral("ShowItems"));
        call << QStringList { url.toString() } << QString();
        // Asked without waiting: a file manager that is slow to start must not freeze the window.
        auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kRevealTimeoutMs));
        QObject::connect(
            watcher, &QDBusPendingCallWatcher::finished, [folder, refused](QDBusPendingCallWatcher *w) {
                if (w->isError()) {
                    Log::line(QStringLiteral("No file manager answered; opening the folder instead"));
                    defaultOpenUrl(folder, refused);
                }
                w->deleteLater();
            });
        return;
    }
#endif
    defaultOpenUrl(folder, refused);
}
