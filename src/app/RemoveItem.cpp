// Privileged removal and rename: one prompt when the object is made, then "rm" / "mv" per request.
#include "app/RemoveItem.h"

#include <mutex>

#include <QDir>
#include <QFileInfo>

#include "platform/AppFolders.h"
#include "platform/Dispatch.h"
#include "platform/Log.h"
#include "platform/PathRules.h"
#include "platform/TextFormat.h"

namespace {

const QString kRemoveTool = QStringLiteral("/bin/rm");
const QString kMoveTool = QStringLiteral("/bin/mv");
// Running a command that does nothing makes the system ask for the password now, before any work.
const QString kAuthorizeTool = QStringLiteral("/bin/true");

// Commands never overlap, whichever object issues them.
std::mutex &commandMutex()
{
    static std::mutex mutex;
    return mutex;
}

bool isNormalisedAbsolute(const QString &path)
{
    // A NUL would cut the argument short on its way to the tool and name a parent folder.
    return path.startsWith(QLatin1Char('/')) && !path.contains(QChar(0)) && QDir::cleanPath(path) == path;
}

// "/", every top-level folder, and the folders directly below /usr, /usr/local and /var.
bool isSystemRoot(const QString &path)
{
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.size() <= 1)
        return true;
    if (parts.size() == 2)
        return parts[0] == QLatin1String("usr") || parts[0] == QLatin1String("var");
    return parts.size() == 3 && parts[0] == QLatin1String("usr") && parts[1] == QLatin1String("local");
}

QStringList homeFolders()
{
    QStringList homes;
    for (const QString &home : {QDir::homePath(), AppFolders::homeFolder()}) {
        homes << QDir::cleanPath(home);
        const QString canonical = QFileInfo(home).canonicalFilePath();
        if (!canonical.isEmpty())
            homes << canonical;
    }
    return homes;
}

bool isHomeOrAbove(const QString &path)
{
    const QStringList homes = homeFolders();
    for (const QString &home : homes) {
        if (PathRules::isSameOrInside(home, path))
            return true;
    }
    return false;
}

// The path with its parent folder's symbolic links resolved, so "/home/u/link/etc" with the link
// pointing at "/" is seen as "/etc". Empty when the parent does not exist.
QString resolvedPath(const QString &path)
{
    const QFileInfo info(path);
    const QString parent = QFileInfo(info.path()).canonicalFilePath();
    if (parent.isEmpty())
        return {};
    return QDir::cleanPath(parent + QLatin1Char('/') + info.fileName());
}

bool isProtected(const QString &path)
{
    return isSystemRoot(path) || isHomeOrAbove(path);
}

} // namespace

RemoveItem::RemoveItem(std::shared_ptr<PrivilegedRunner> runner)
    : m_runner(std::move(runner))
{
    if (!m_runner)
        return;
    storeResult(m_runner->run(kAuthorizeTool, {}));
    if (m_status != kStatusSuccess && m_status != kStatusCanceled)
        systemLogLine(formatText(QStringLiteral("Error on authorization: %d"), m_status));
}

bool RemoveItem::isAcceptablePath(const QString &path)
{
    if (!isNormalisedAbsolute(path) || isProtected(path))
        return false;
    const QString resolved = resolvedPath(path);
    return resolved.isEmpty() || !isProtected(resolved);
}

bool RemoveItem::removeSingleItem(const QString &path)
{
    if (m_status == kStatusCanceled || !m_runner)
        return false;
    if (!isAcceptablePath(path)) {
        systemLogLine(formatText(QStringLiteral("Refused to remove \"%@\""), path));
        return false;
    }
    return perform(
        {{QStringLiteral("operation"), QStringLiteral("remove")}, {QStringLiteral("itemPath"), path}});
}

bool RemoveItem::removeMultipleItems(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (!removeSingleItem(path))
            return false;
    }
    return true;
}

bool RemoveItem::renameItem(const QString &path, const QString &newPath)
{
    if (m_status == kStatusCanceled || !m_runner)
        return false;
    if (!isAcceptablePath(path) || !isAcceptablePath(newPath)) {
        systemLogLine(formatText(QStringLiteral("Refused to move \"%@\" to \"%@\""), path, newPath));
        return false;
    }
    return perform({{QStringLiteral("operation"), QStringLiteral("rename")},
        {QStringLiteral("itemPath"), path}, {QStringLiteral("newPath"), newPath}});
}

bool RemoveItem::perform(const QVariantMap &record)
{
    Dispatch::mainSync([this, &record]() { mainthread_RemoveOrRenameItem(record); });
    return m_status == kStatusSuccess;
}

void RemoveItem::mainthread_RemoveOrRenameItem(const QVariantMap &record)
{
    std::lock_guard<std::mutex> lock(commandMutex());
    if (m_status == kStatusCanceled)
        return;
    const QString operation = record.value(QStringLiteral("operation")).toString();
    const QString itemPath = record.value(QStringLiteral("itemPath")).toString();
    // "--" ends the options, so a path can never be read as one.
    if (operation == QLatin1String("remove")) {
        storeResult(m_runner->run(kRemoveTool, {QStringLiteral("-rf"), QStringLiteral("--"), itemPath}));
    } else if (operation == QLatin1String("rename")) {
        const QString newPath = record.value(QStringLiteral("newPath")).toString();
        storeResult(
            m_runner->run(kMoveTool, {QStringLiteral("-f"), QStringLiteral("--"), itemPath, newPath}));
    } else {
        return;
    }
    if (m_status != kStatusSuccess)
        systemLogLine(formatText(QStringLiteral("Error: %d (File)"), m_status));
}

void RemoveItem::storeResult(const PrivilegedRunner::Result &result)
{
    switch (result.outcome) {
    case PrivilegedRunner::Outcome::Finished:
        m_status = result.exitCode;
        return;
    case PrivilegedRunner::Outcome::Refused:
        m_status = kStatusCanceled;
        return;
    case PrivilegedRunner::Outcome::NotStarted:
    case PrivilegedRunner::Outcome::Crashed:
        m_status = kStatusToolFailed;
        return;
    }
}
