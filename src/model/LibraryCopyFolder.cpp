#include "model/LibraryCopyFolder.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <set>

#include <QDir>
#include <QFile>

#include "platform/AppFolders.h"
#include "platform/Log.h"

namespace
{

const char kHoldName[] = "/.held";

// Never freed: a copy left behind may end while the process ends.
std::mutex &makingMutex()
{
    static std::mutex *mutex = new std::mutex;
    return *mutex;
}

std::mutex &heldMutex()
{
    static std::mutex *mutex = new std::mutex;
    return *mutex;
}

// The folders this process's reads hold. Where a lock is kept per process, not per open file (a
// network share may keep them so), its own lock would not tell one read of the process from another.
std::set<QString> &heldHere()
{
    static std::set<QString> *folders = new std::set<QString>;
    return *folders;
}

bool isHeldHere(const QString &folder)
{
    std::lock_guard<std::mutex> lock(heldMutex());
    return heldHere().count(folder) > 0;
}

Descriptor openLockFile(const QString &path, int flags)
{
    return Descriptor(
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | flags, 0600));
}

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

LibraryCopyFolder::LibraryCopyFolder(QString path, Descriptor hold)
    : m_path(std::move(path))
    , m_hold(std::move(hold))
{
    std::lock_guard<std::mutex> lock(heldMutex());
    heldHere().insert(m_path);
}

LibraryCopyFolder::~LibraryCopyFolder()
{
    m_hold = Descriptor();
    if (!AppFolders::removeEntry(m_path))
        Log::line(QStringLiteral("The copy of a library database could not be removed: ") + m_path);
    std::lock_guard<std::mutex> lock(heldMutex());
    heldHere().erase(m_path);
}

QString LibraryCopyFolder::parentFolder()
{
    return AppFolders::cachesFolder() + QStringLiteral("/library-copies");
}

std::unique_ptr<LibraryCopyFolder> LibraryCopyFolder::make(QString *error)
{
    const QString parent = parentFolder();
    // The library's private data is not copied into a folder another user may read or change.
    if (!AppFolders::ensureFolder(parent)) {
        *error = QStringLiteral("the folder %1 could not be made private to this user").arg(parent);
        return {};
    }
    // Folders are made, and those no read holds cleared, by one read at a time: a folder is never
    // seen by another before its read holds it. Where no lock is kept, nothing is cleared.
    std::lock_guard<std::mutex> making(makingMutex());
    const Descriptor parentLock = openLockFile(parent + QStringLiteral("/.lock"), O_CREAT);
    if (parentLock.isValid() && ::flock(parentLock.get(), LOCK_EX) == 0)
        clearUnheld(parent);
    QByteArray pattern = QFile::encodeName(parent + QStringLiteral("/read-XXXXXX"));
    if (!::mkdtemp(pattern.data())) {
        *error = systemReason() + QStringLiteral(": ") + parent;
        return {};
    }
    const QString path = QFile::decodeName(pattern);
    Descriptor hold = openLockFile(path + QLatin1String(kHoldName), O_CREAT | O_EXCL);
    if (!hold.isValid()) {
        *error = systemReason() + QStringLiteral(": ") + path;
        AppFolders::removeEntry(path);
        return {};
    }
    ::flock(hold.get(), LOCK_EX | LOCK_NB);
    return std::unique_ptr<LibraryCopyFolder>(new LibraryCopyFolder(path, std::move(hold)));
}

void LibraryCopyFolder::clearUnheld(const QString &parent)
{
    const QStringList names = QDir(parent).entryList(
        { QStringLiteral("read-*") }, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks);
    for (const QString &name : names) {
        const QString folder = parent + QLatin1Char('/') + name;
        if (isHeldHere(folder) || isHeldElsewhere(folder))
            continue;
        if (AppFolders::removeEntry(folder))
            Log::line(
                QStringLiteral("Removed the copy of a library database left by an earlier run: ") + folder);
    }
}

// A folder whose lock cannot be asked is taken as held: a copy in use is never removed.
bool LibraryCopyFolder::isHeldElsewhere(const QString &folder)
{
    const Descriptor hold = openLockFile(folder + QLatin1String(kHoldName), 0);
    if (!hold.isValid())
        return errno != ENOENT;
    // No folder is held again once its read let it go, so the lock taken here may go with `hold`.
    return ::flock(hold.get(), LOCK_EX | LOCK_NB) != 0;
}
