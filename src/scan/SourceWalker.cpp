#include "scan/SourceWalker.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>

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
    const PathLook::Result<PathLook::Found> found = m_mounts.look().find(path, &m_abortMe);
    const QString real = found.answer ? found.answer->real : QDir::cleanPath(path);
    const PathLook::Result<bool> held = m_mounts.holds(real, QDir::cleanPath(path), &m_abortMe);
    if (!Trash::isInsideTrashFolder(path, real, m_mounts.realHomeTrash()) && !held.answer.value_or(false))
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

void SourceWalker::passOver(const QString &link, const QString &mount)
{
    ++m_linksPassedOver;
    if (m_namedMounts.contains(mount))
        return;
    m_namedMounts.insert(mount);
    Log::line(QStringLiteral("Links onto %1 passed over: it does not answer").arg(mount));
    reportNotAnswering(link);
}

std::optional<PathLook::Found> SourceWalker::followLink(
    int dirFd, const QString &link, const QByteArray &name)
{
    char text[PATH_MAX];
    const ssize_t length = ::readlinkat(dirFd, name.constData(), text, sizeof text);
    // Not a link at all (a pipe, met where the folder does not tell kinds): nothing to say.
    if (length < 0 && errno == EINVAL)
        return std::nullopt;
    if (length < 0 || size_t(length) == sizeof text) {
        logSkipped(QStringLiteral("link"), link, length < 0 ? errno : ENAMETOOLONG);
        return std::nullopt;
    }
    // The folder's real path as the kernel keeps it for the open folder: no file system is asked.
    const QString folder = QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(dirFd));
    PathLook::Result<PathLook::Found> found
        = m_mounts.look().follow(folder, QFile::decodeName(QByteArray(text, length)), &m_abortMe);
    if (!found.silentMount.isEmpty())
        passOver(link, found.silentMount);
    else if (found.answer && !found.answer->facts)
        logSkipped(QStringLiteral("link"), link, found.answer->error);
    if (!found.answer || !found.answer->facts)
        return std::nullopt;
    return std::move(found.answer);
}

void SourceWalker::takeLink(int dirFd, const QString &link, const QByteArray &name)
{
    const std::optional<PathLook::Found> found = followLink(dirFd, link, name);
    // A link to a folder is never followed: the folder is walked where it lies, if at all.
    if (!found || !found->facts->isRegular)
        return;
    // Whether it lands in a Trash is known only once its volume's Trashes are.
    const QString silent = m_mounts.surveyLanding(found->real, &m_abortMe);
    const PathLook::Result<bool> held
        = silent.isEmpty() ? m_mounts.holds(found->real, found->real, &m_abortMe) : PathLook::Result<bool> {};
    if (!silent.isEmpty() || !held.silentMount.isEmpty()) {
        passOver(link, silent.isEmpty() ? held.silentMount : silent);
        return;
    }
    if (!held.answer)
        return;
    // A link to a trashed file is no more a copy than the file in the Trash is.
    if (*held.answer || Trash::isInsideTrashFolder(link, found->real, m_mounts.realHomeTrash())) {
        Log::line(QStringLiteral("Skipped a link into a Trash: ") + link);
        return;
    }
    m_linkedFiles.emplace_back(link, *found->facts);
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
            countUndecodable(path, entry.type, name.toLower());
            continue;
        }
        const QString child = prefix + name;
        if (entry.type == DT_DIR) {
            enterFolder(child);
            continue;
        }
        if (skipsAsTrashed(child, name))
            continue;
        if (entry.type != DT_LNK && entry.type != DT_REG && entry.type != DT_UNKNOWN)
            continue;
        const QString lower = child.toLower();
        // Only files with an enabled extension cost a stat.
        if (entry.type == DT_REG && leavesOutForType(lower))
            continue;
        // A link is never followed here: what it leads to may lie on a share that does not answer.
        const std::optional<FileEntryFacts> facts
            = entry.type == DT_LNK ? std::nullopt : FileFacts::entryItselfAt(dirFd, entry.name.constData());
        if (entry.type != DT_LNK && !facts)
            logSkipped(QStringLiteral("file"), child, errno);
        else if (!facts || (!facts->isDirectory && !facts->isRegular))
            takeLink(dirFd, child, entry.name);
        else if (facts->isDirectory)
            enterFolder(child);
        else
            offerFile(child, lower, *facts);
    }
    ::closedir(dir);
    if (undecodable > 0)
        Log::line(QStringLiteral("Items skipped for names that are not valid UTF-8: %1, in folder %2")
                      .arg(undecodable)
                      .arg(path));
}

void SourceWalker::countUndecodable(const QString &folder, unsigned char type, const QString &lowerName)
{
    // Told as a folder or a file of an enabled type would be: what the user misses from the scan.
    if (type != DT_DIR && matchingExtension(lowerName, m_options.allowedExtensions).isEmpty())
        return;
    if (m_report.skippedForName++ == 0)
        m_report.firstSkippedForNameFolder = folder;
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
    if (m_linksPassedOver > 0)
        Log::line(QStringLiteral("Links onto mounts not answering passed over: %1").arg(m_linksPassedOver));
    for (const auto &[path, facts] : std::exchange(m_linkedFiles, {})) {
        if (m_abortMe.load())
            break;
        offerFile(path, path.toLower(), facts);
    }
}

bool SourceWalker::leavesOutForType(const QString &lower)
{
    if (!matchingExtension(lower, m_options.allowedExtensions).isEmpty())
        return false;
    if (const QString unticked = matchingExtension(lower, m_options.untickedExtensions);
        !unticked.isEmpty()) {
        ++m_report.skippedForType;
        if (!m_report.skippedTypes.contains(unticked.toUpper()))
            m_report.skippedTypes.append(unticked.toUpper());
    }
    return true;
}

void SourceWalker::offerFile(const QString &path, const QString &lower, const FileEntryFacts &facts)
{
    const Identity identity { facts.identity.device, facts.identity.inode };
    if (m_addedFiles.count(identity))
        return;
    if (leavesOutForType(lower))
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
