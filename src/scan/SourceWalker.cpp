#include "scan/SourceWalker.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>

#include "platform/BoundedLook.h"
#include "platform/FileFacts.h"
#include "platform/Log.h"
#include "platform/Trash.h"

namespace
{

struct Entry {
    QByteArray name;
    unsigned char type;
};

void logSkipped(const QString &what, const QString &path, int error)
{
    Log::line(
        QStringLiteral("Skipped %1 %2: %3").arg(what, path, QString::fromLocal8Bit(std::strerror(error))));
}

std::vector<Entry> readEntries(DIR *dir)
{
    std::vector<Entry> entries;
    while (dirent *entry = readdir(dir)) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        entries.push_back({ QByteArray(name), entry->d_type });
    }
    // Listing order is whatever the file system keeps; sorting makes scan order, and so the order
    // of the groups, the same on every run.
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) { return a.name < b.name; });
    return entries;
}

} // namespace

SourceWalker::SourceWalker(SourceWalkerOptions options, const std::atomic<bool> &abortMe, Handlers handlers,
    const QStringList &roots)
    : m_options(std::move(options))
    , m_abortMe(abortMe)
    , m_handlers(std::move(handlers))
    , m_mounts(ScanMounts::survey(roots, &abortMe))
{
}

QString SourceWalker::matchingExtension(const QString &lowerPath, const QStringList &extensions)
{
    for (const QString &extension : extensions) {
        const qsizetype dot = lowerPath.size() - extension.size() - 1;
        if (dot >= 0 && lowerPath.at(dot) == QLatin1Char('.') && lowerPath.endsWith(extension))
            return extension;
    }
    return {};
}

bool SourceWalker::endsWithAny(const QString &lowerPath, const QStringList &suffixes)
{
    for (const QString &suffix : suffixes) {
        if (lowerPath.endsWith(suffix))
            return true;
    }
    return false;
}

void SourceWalker::scanFolder(const QString &path)
{
    // A source chosen inside a Trash (its files/ folder, say) is as much a Trash as the top.
    if (!skipsAsNotAnswering(path) && !skipsAsTrash(path))
        enterFolder(path, true);
}

void SourceWalker::enterFolder(const QString &path, bool isRoot)
{
    if (m_abortMe.load() || m_options.exclusions.isExcluded(path) || skipsAsNotAnswering(path))
        return;
    if (FileFacts::isPackage(path)) {
        scanPackage(path);
        return;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 && isRoot && errno == ENOENT) {
        reportNotFound(path);
        return;
    }
    if (fd < 0) {
        skipFolder(path, errno);
        return;
    }
    const std::optional<FileIdentity> identity = FileFacts::identityOfOpen(fd);
    if (!identity || !m_visitedFolders.insert({ identity->device, identity->inode }).second
        || m_options.exclusions.isExcluded(*identity)) {
        ::close(fd);
        return;
    }
    if (isTrash(path, *identity)) {
        ::close(fd);
        if (!m_mounts.trashes().isTrashTop(*identity))
            reportTrash(path);
        else
            Log::line(QStringLiteral("Skipped Trash folder: ") + path);
        return;
    }
    scanEntries(path, fd);
}

bool SourceWalker::isTrash(const QString &path, const FileIdentity &identity) const
{
    // Trashed files are no copies: counting them would let a removal keep the one in the Trash.
    // Left walked: the files/ of a Trash-named folder away from a mount's top, bind-mounted under
    // another name. No desktop files into such a folder, so it is known by its name alone, where
    // it lies; telling it by identity elsewhere would mean looking through every folder of every
    // mount, dead shares included.
    return m_mounts.trashes().contains(identity) || Trash::isTrashByName(path);
}

bool SourceWalker::skipsAsTrash(const QString &path)
{
    if (!Trash::isInsideTrashFolder(path) && !m_mounts.trashes().holds(path))
        return false;
    reportTrash(path);
    return true;
}

bool SourceWalker::skipsAsTrashed(const QString &path, const QString &name)
{
    if (!Trash::isTrashedByName(name))
        return false;
    // Trashed by a phone and deleted there when its time is up: no copy to keep.
    Log::line(QStringLiteral("Skipped a trashed file: ") + path);
    return true;
}

bool SourceWalker::skipsAsNotAnswering(const QString &path)
{
    if (!m_mounts.isNotAnswering(path))
        return false;
    reportNotAnswering(path);
    return true;
}

void SourceWalker::reportNotAnswering(const QString &path)
{
    Log::line(QStringLiteral("Skipped, not answering: ") + path);
    if (m_report.notAnsweringFolders++ == 0)
        m_report.firstNotAnsweringFolder = path;
}

void SourceWalker::reportNotFound(const QString &path)
{
    Log::line(QStringLiteral("Skipped, not found: ") + path);
    if (m_report.notFoundFolders++ == 0)
        m_report.firstNotFoundFolder = path;
}

std::optional<FileEntryFacts> SourceWalker::followLink(const QString &path, bool &silent) const
{
    struct Followed {
        std::optional<FileEntryFacts> facts;
        int error = 0;
    };
    const std::optional<Followed> followed = BoundedLook<Followed>([path]() {
        Followed f { FileFacts::entryAt(AT_FDCWD, QFile::encodeName(path).constData()), 0 };
        f.error = errno;
        return f;
    }).wait(&m_abortMe);
    silent = !followed;
    if (!followed)
        return std::nullopt;
    errno = followed->error;
    return followed->facts;
}

void SourceWalker::reportTrash(const QString &path)
{
    Log::line(QStringLiteral("Skipped Trash folder: ") + path);
    if (m_report.trashFolders++ == 0)
        m_report.firstTrashFolder = path;
}

void SourceWalker::scanEntries(const QString &path, int dirFd)
{
    DIR *dir = ::fdopendir(dirFd);
    if (!dir) {
        skipFolder(path, errno);
        ::close(dirFd);
        return;
    }
    const std::vector<Entry> entries = readEntries(dir);
    const QString prefix = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
    int undecodable = 0;
    for (const Entry &entry : entries) {
        if (m_abortMe.load())
            break;
        // A name that is not valid UTF-8 decodes lossily and could name another file of the folder
        // ("u\xFF" becomes the same text as "u\uFFFD"); such an entry is never looked at.
        const QString name = QFile::decodeName(entry.name);
        if (QFile::encodeName(name) != entry.name) {
            ++undecodable;
            continue;
        }
        const QString child = prefix + name;
        if (entry.type == DT_DIR) {
            enterFolder(child);
            continue;
        }
        if (skipsAsTrashed(child, name))
            continue;
        const bool isLink = entry.type == DT_LNK;
        if (!isLink && entry.type != DT_REG && entry.type != DT_UNKNOWN)
            continue;
        const QString lower = child.toLower();
        // Only files with an enabled extension cost a stat; a link is resolved to see what it is.
        if (!isLink && entry.type == DT_REG
            && matchingExtension(lower, m_options.allowedExtensions).isEmpty())
            continue;
        bool silent = false;
        const std::optional<FileEntryFacts> facts
            = isLink ? followLink(child, silent) : FileFacts::entryAt(dirFd, entry.name.constData());
        if (silent) {
            if (!m_abortMe.load())
                reportNotAnswering(child);
            continue;
        }
        if (!facts) {
            logSkipped(isLink ? QStringLiteral("link") : QStringLiteral("file"), child, errno);
            continue;
        }
        if (facts->isDirectory) {
            if (!isLink)
                enterFolder(child);
            continue;
        }
        // A link to a trashed file is no more a copy than the file in the Trash is.
        if (facts->isRegular && isLink
            && (Trash::isInsideTrashFolder(child) || m_mounts.trashes().holds(child))) {
            Log::line(QStringLiteral("Skipped a link into a Trash: ") + child);
            continue;
        }
        if (facts->isRegular && isLink)
            m_linkedFiles.emplace_back(child, *facts);
        else if (facts->isRegular)
            offerFile(child, lower, *facts);
    }
    ::closedir(dir);
    if (undecodable > 0)
        Log::line(QStringLiteral("Items skipped for names that are not valid UTF-8: %1, in folder %2")
                      .arg(undecodable)
                      .arg(path));
}

void SourceWalker::skipFolder(const QString &path, int error)
{
    logSkipped(QStringLiteral("folder"), path, error);
    if (m_report.unreadableFolders++ == 0) {
        m_report.firstUnreadableFolder = path;
        m_report.firstUnreadableReason = QString::fromLocal8Bit(std::strerror(error));
    }
}

void SourceWalker::scanPackage(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    const bool isLibrary = suffix.toLower() == QLatin1String("photoslibrary")
        || suffix == QLatin1String("migratedphotolibrary");
    if (isLibrary && m_options.includePhotosLibInFolder && m_handlers.photosLibrary)
        m_handlers.photosLibrary(path, true);
}

void SourceWalker::addFileToScan(const QString &path)
{
    // The folder, not the file: a photo named ".Trash-2.jpg" is no Trash.
    const QFileInfo info(path);
    if (skipsAsNotAnswering(path) || skipsAsTrash(info.absolutePath())
        || skipsAsTrashed(path, info.fileName()))
        return;
    const std::optional<FileEntryFacts> facts
        = FileFacts::entryAt(AT_FDCWD, QFile::encodeName(path).constData());
    if (!facts) {
        logSkipped(QStringLiteral("file"), path, errno);
        return;
    }
    if (facts->isRegular && QFileInfo(path).isSymLink())
        m_linkedFiles.emplace_back(path, *facts);
    else if (facts->isRegular)
        offerFile(path, path.toLower(), *facts);
}

void SourceWalker::offerLinkedFiles()
{
    for (const auto &[path, facts] : std::exchange(m_linkedFiles, {})) {
        if (m_abortMe.load())
            break;
        offerFile(path, path.toLower(), facts);
    }
}

void SourceWalker::offerFile(const QString &path, const QString &lower, const FileEntryFacts &facts)
{
    const Identity identity { facts.identity.device, facts.identity.inode };
    if (m_addedFiles.count(identity))
        return;
    if (matchingExtension(lower, m_options.allowedExtensions).isEmpty())
        return;
    const qint64 size = facts.attributes.size;
    if (size < m_options.minimumFileSize) {
        ++m_report.skippedForSize;
        return;
    }
    const WalkedFile file { path, size, endsWithAny(lower, m_options.videoExtensions), facts.attributes };
    if (m_handlers.addFile && m_handlers.addFile(file))
        m_addedFiles.insert(identity);
}
