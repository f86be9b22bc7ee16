// Own folders that do not answer.
#include "platform/SilentOwnFolders.h"

#include <algorithm>
#include <mutex>

#include <QDir>
#include <QFileInfo>

#include "platform/AppFolders.h"
#include "platform/Log.h"
#include "platform/PathLook.h"
#include "platform/PathRules.h"

namespace
{

// Never freed: a writer of the log on a thread left behind may ask while the process ends.
std::mutex &silentMutex()
{
    static std::mutex *mutex = new std::mutex;
    return *mutex;
}

QStringList &silentFolders()
{
    static QStringList *folders = new QStringList;
    return *folders;
}

QStringList &stoppedFolders()
{
    static QStringList *folders = new QStringList;
    return *folders;
}

bool isIn(const QString &clean, const QStringList &folders)
{
    return std::any_of(folders.cbegin(), folders.cend(),
        [&clean](const QString &folder) { return PathRules::isSameOrInside(clean, folder); });
}

bool holdsStopped(const QString &folder)
{
    std::lock_guard<std::mutex> lock(silentMutex());
    return isIn(folder, stoppedFolders());
}

} // namespace

QStringList SilentOwnFolders::look()
{
    // A folder whose write is still held is not looked at again: the look would only wait as long.
    QStringList own, silent;
    for (const QString &folder : AppFolders::ownFolders())
        (holdsStopped(folder) ? silent : own).append(folder);
    const std::vector<PathLook::Result<PathLook::Found>> found = PathLook::current().findAll(own, nullptr);
    for (size_t i = 0; i < found.size(); ++i) {
        if (!found[i].silentMount.isEmpty())
            silent.append(own[qsizetype(i)]);
    }
    {
        std::lock_guard<std::mutex> lock(silentMutex());
        silentFolders() = silent;
    }
    // Said on standard error: the log itself may be one of them.
    for (const QString &folder : silent)
        systemLogLine(
            QStringLiteral("The program's folder %1 is not answering: nothing is read or written there")
                .arg(folder));
    return silent;
}

bool SilentOwnFolders::holds(const QString &path)
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    {
        std::lock_guard<std::mutex> lock(silentMutex());
        if (isIn(clean, silentFolders()) || isIn(clean, stoppedFolders()))
            return true;
    }
    // A mount named since the last look, by this program's looks at anything: the log's writer
    // asks here before it opens its folder, even while the look naming that mount is under way.
    return PathLook::anyNamedNotAnswering() && !PathLook::current().silentMountOf(clean).isEmpty();
}

void SilentOwnFolders::setStoppedAnswering(const QString &folder, bool stopped)
{
    std::lock_guard<std::mutex> lock(silentMutex());
    stoppedFolders().removeAll(folder);
    if (stopped)
        stoppedFolders().append(folder);
}

QStringList SilentOwnFolders::stoppedAnswering()
{
    std::lock_guard<std::mutex> lock(silentMutex());
    return stoppedFolders();
}
