// Removal of the user's Quennary files at uninstall time.
#include "app/Uninstaller.h"

#include <optional>

#include <QEventLoop>
#include <QFileInfo>

#include "app/LocalizedString.h"
#include "app/RemoveItem.h"
#include "platform/AppFolders.h"
#include "platform/LocalAlbumStore.h"
#include "platform/Log.h"
#include "platform/SecretStore.h"
#include "platform/TextFormat.h"
#include "platform/WebAddress.h"

namespace {

// A dangling symbolic link counts as present: it is ours to remove.
bool isPresent(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Diagnostics go to the system log: the log file's folder is one of the paths being removed.
} // namespace

Uninstaller::Uninstaller(std::shared_ptr<PrivilegedRunner> runner, Removal removeWithOwnRights)
    : m_runner(std::move(runner))
    , m_removeWithOwnRights(std::move(removeWithOwnRights))
{
}

QString Uninstaller::displayName()
{
    return QStringLiteral("Quennary");
}

QStringList Uninstaller::userPaths()
{
    // The thumbnails lie inside the support folder today; naming them keeps them covered if they
    // ever move.
    return AppFolders::ownFolders();
}

// The secret service answers on this thread's event loop; each removal is waited for.
bool Uninstaller::removeSecrets()
{
    bool removedAll = true;
    SecretStore store;
    for (const QString &name : m_secretNames) {
        std::optional<bool> removed;
        QEventLoop loop;
        store.remove(name, [&removed, &loop](bool ok) {
            removed = ok;
            loop.quit();
        });
        if (!removed)
            loop.exec();
        if (!*removed) {
            reportLeftOver(formatText(localizedString(QStringLiteral("ID_STORED_SIGN_IN")), name));
            removedAll = false;
        }
    }
    return removedAll;
}

void Uninstaller::reportLeftOver(const QString &what)
{
    systemLogLine(formatText(QStringLiteral("Uninstall could not remove %@"), what));
    m_leftOver.append(what);
}

bool Uninstaller::removeApplicationSupportFiles()
{
    m_leftOver.clear();
    const bool secretsRemoved = removeSecrets();
    QStringList leftOver;
    for (const QString &path : userPaths()) {
        if (!isPresent(path))
            continue;
        if (!m_removeWithOwnRights || !m_removeWithOwnRights(path) || isPresent(path))
            leftOver << path;
    }
    if (leftOver.isEmpty())
        return secretsRemoved;
    // One password dialog for all of them.
    RemoveItem remover(m_runner);
    if (remover.authenticated())
        remover.removeMultipleItems(leftOver);
    bool removedAll = true;
    for (const QString &path : std::as_const(leftOver)) {
        if (isPresent(path)) {
            reportLeftOver(path);
            removedAll = false;
        }
    }
    return removedAll && secretsRemoved;
}

bool Uninstaller::removeWithUserRights(const QString &path)
{
    // By descriptor: a link inside goes as a link, and a mount inside (a disk of photos, say) is not
    // emptied.
    return AppFolders::removeEntry(path);
}

QString Uninstaller::confirmationText(const QString &executable, const QString &packageFileLists)
{
    QStringList sentences { formatText(
        localizedString(QStringLiteral("ID_UNINSTALL_ACTION")), displayName()) };
    // The album file is the list of library items marked to delete: the user may still want it.
    if (const QString album = LocalAlbumStore::defaultFilePath(); QFileInfo::exists(album))
        sentences.append(
            formatText(localizedString(QStringLiteral("ID_UNINSTALL_REMOVES_ALBUM_FILE")), album));
    const QString program = UpdaterController::programPath(executable);
    sentences.append(UpdaterController::installedByPackage(program, packageFileLists)
            ? localizedString(QStringLiteral("ID_UNINSTALL_PACKAGE_STAYS"))
            : formatText(localizedString(QStringLiteral("ID_UNINSTALL_COPY_STAYS")), program));
    return sentences.join(QLatin1Char(' '));
}

QString Uninstaller::packageRemovalNote(const QString &executable, const QString &packageFileLists)
{
    const QString program = UpdaterController::programPath(executable);
    if (!UpdaterController::installedByPackage(program, packageFileLists))
        return formatText(localizedString(QStringLiteral("ID_UNINSTALL_COPY_NOTE")), displayName(), program);
    const QString package = QStringLiteral(QNY_PACKAGE_NAME);
    return formatText(
        localizedString(QStringLiteral("ID_UNINSTALL_PACKAGE_NOTE")), displayName(), package, package);
}

QUrl Uninstaller::afterUninstallUrl(const QString &address)
{
    return WebAddress::page(address);
}
