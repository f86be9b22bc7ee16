#include "cloud/DriveListing.h"

#include <QUrl>

#include "cloud/DriveService.h"
#include "cloud/ListingRefusals.h"
#include "model/ImageFileInfo.h"
#include "platform/HttpResponse.h"
#include "platform/Log.h"

namespace
{

const QString kRootId = QStringLiteral("root");
const QString kMyDrive = QStringLiteral("My Drive");

QString folderOf(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash);
}

} // namespace

DriveListing::DriveListing(DriveService &service, QString &rootDriveFolderId)
    : m_service(service)
    , m_rootDriveFolderId(rootDriveFolderId)
{
}

DriveListing::~DriveListing() = default;

void DriveListing::fetchFilesFromSelectedFolders(const Request &request, Callbacks callbacks)
{
    ++m_generation;
    m_callbacks = std::move(callbacks);
    m_stop = request.stop;
    m_nodes = request.nodes;
    m_extensions = request.extensions;
    m_maxPages = request.maxPages;
    m_holdings = ListingHoldings(request.maxHeldBytes);
    m_waiting.clear();
    m_listedFolders.clear();
    m_offeredFiles.clear();
    m_askedFolders.clear();
    m_pendingFolders.clear();
    m_pageTokens.clear();
    m_failure.clear();
    m_pagesAsked = 0;
    m_recusiveCount = 0;
    m_finished = false;
    for (const FilePathNode &node : m_nodes) {
        const std::shared_ptr<GDFoldersList> folder = node.dFolderList;
        if (node.state != 1 || !folder)
            continue;
        const std::shared_ptr<DriveFile> file = folder->driveFile();
        const QString fileId = file ? file->identifier.value_or(QString()) : QString();
        const bool isRoot = folder->folderName() == kMyDrive || folder->folderId() == kRootId
            || (!fileId.isEmpty() && fileId == m_rootDriveFolderId);
        if (!isRoot && file && !fileId.isEmpty())
            remember(file);
        const QString listId = isRoot ? kRootId : folder->folderId();
        if (listId.isEmpty() || m_listedFolders.contains(listId))
            continue;
        m_listedFolders.insert(listId);
        fetchDriveFiles(listId, true, QString());
    }
    // Nothing to ask: the scan goes on with no records, which tells the user there are no photos.
    finishIfDone();
}

std::shared_ptr<GDFoldersList> DriveListing::nodeOf(const std::shared_ptr<DriveFile> &file)
{
    auto node = std::make_shared<GDFoldersList>();
    node->setFolderName(file->name.value_or(QString()));
    node->setFolderId(file->identifier.value_or(QString()));
    node->setDriveFile(file);
    return node;
}

bool DriveListing::remember(const std::shared_ptr<DriveFile> &folder)
{
    const std::shared_ptr<GDFoldersList> node = nodeOf(folder);
    if (node->folderId().isEmpty())
        return true;
    // A folder met again takes its own place; only a new one adds to what the listing holds.
    if (!m_dictGDrive.contains(node->folderId()) && !holdEntry(*folder))
        return false;
    m_dictGDrive.insert(node->folderId(), node);
    return true;
}

bool DriveListing::holdEntry(const DriveFile &file)
{
    // The file, its node (whose texts it shares) and its key among the offered files or folders.
    return holdRecord(
        DriveFileJson::heldBytes(file) + qint64(sizeof(GDFoldersList)) + 16 + ListingHoldings::kKeyBytes);
}

bool DriveListing::holdRecord(qint64 bytes)
{
    if (m_holdings.hold(bytes))
        return true;
    fail(m_holdings.refusal(ListingRefusals::drive()));
    return false;
}

void DriveListing::fetchDriveFiles(const QString &folderId, bool recurse, const QString &pageToken)
{
    if (!m_failure.isEmpty())
        return;
    // A token met before would list the same pages for ever; so would a listing without an end.
    if (!pageToken.isEmpty() && m_pageTokens.contains(folderId + QLatin1Char('\n') + pageToken)) {
        fail(ListingRefusals::repeatsAPage(ListingRefusals::drive()));
        return;
    }
    if (++m_pagesAsked > m_maxPages) {
        fail(ListingRefusals::tooManyPages(ListingRefusals::drive(), m_maxPages));
        return;
    }
    if (!pageToken.isEmpty())
        m_pageTokens.insert(folderId + QLatin1Char('\n') + pageToken);
    ++m_recusiveCount;
    DriveService::ListQuery query;
    query.q = QStringLiteral("trashed=false and '%1' in parents").arg(DriveService::quoted(folderId));
    query.fields = QString::fromLatin1(kFileFields);
    query.pageSize = kPageSize;
    query.pageToken = pageToken;
    const int generation = m_generation;
    const std::weak_ptr<int> alive = m_alive;
    m_service.listFiles(query,
        [this, alive, generation, folderId, recurse](
            const std::optional<DriveFileList> &list, const HttpResponse &response) {
            if (alive.expired() || generation != m_generation)
                return;
            handleFileListPage(folderId, recurse, list, response);
        });
}

void DriveListing::handleFileListPage(const QString &folderId, bool recurse,
    const std::optional<DriveFileList> &list, const HttpResponse &response)
{
    if (m_recusiveCount > 0)
        --m_recusiveCount;
    if (stopRequested()) {
        finishIfDone();
        return;
    }
    if (!list) {
        fail(ListingRefusals::folderFailed(
            folderId, response.ok() ? ListingRefusals::notAFileList() : response.describe()));
        finishIfDone();
        return;
    }
    // Only an answer for "root" tells the root's real identifier; a parent seen in any other
    // folder's page would name that folder instead.
    if (folderId == kRootId && m_rootDriveFolderId.isEmpty() && !list->files.isEmpty())
        m_rootDriveFolderId = list->files.first()->parents.value(0);
    // Each page is handed over as it comes, so no more than a page waits here.
    collectDriveFiles(*list, recurse);
    if (!list->nextPageToken.isEmpty())
        fetchDriveFiles(folderId, recurse, list->nextPageToken);
    offerResolvedFiles();
    finishIfDone();
}

void DriveListing::collectDriveFiles(const DriveFileList &page, bool recurse)
{
    for (const std::shared_ptr<DriveFile> &file : page.files) {
        // A failed listing (a bound passed) takes nothing more from pages still arriving.
        if (!m_failure.isEmpty())
            return;
        const QString fileId = file->identifier.value_or(QString());
        if (DriveFileJson::isFolder(*file)) {
            if (!remember(file))
                return;
            // A sub-folder that is a scan-list entry of its own is listed through that entry.
            if (recurse && !fileId.isEmpty() && !isScanListFolder(fileId)
                && !m_listedFolders.contains(fileId)) {
                m_listedFolders.insert(fileId);
                fetchDriveFiles(fileId, true, QString());
            }
            continue;
        }
        if (!acceptsFile(*file) || fileId.isEmpty() || m_offeredFiles.contains(fileId))
            continue;
        if (!holdEntry(*file))
            return;
        m_offeredFiles.insert(fileId);
        m_waiting.push_back(nodeOf(file));
    }
}

void DriveListing::offerResolvedFiles()
{
    std::vector<std::shared_ptr<GDFoldersList>> waiting;
    waiting.swap(m_waiting);
    for (const std::shared_ptr<GDFoldersList> &entry : waiting) {
        if (stopRequested() || !m_failure.isEmpty())
            return;
        QString missing;
        if (!displayPath(*entry->driveFile(), &missing) && !missing.isEmpty()) {
            askForFolder(missing);
            m_waiting.push_back(entry);
            continue;
        }
        if (m_callbacks.addGoogleDriveFile)
            m_callbacks.addGoogleDriveFile(entry);
    }
}

void DriveListing::askForFolder(const QString &folderId)
{
    if (m_askedFolders.contains(folderId) || m_pendingFolders.contains(folderId))
        return;
    m_pendingFolders.insert(folderId);
    ++m_recusiveCount;
    const int generation = m_generation;
    const std::weak_ptr<int> alive = m_alive;
    m_service.getFile(folderId, QString::fromLatin1(kFolderFields),
        [this, alive, generation, folderId](const std::shared_ptr<DriveFile> &file, const HttpResponse &) {
            if (alive.expired() || generation != m_generation)
                return;
            if (m_recusiveCount > 0)
                --m_recusiveCount;
            m_pendingFolders.remove(folderId);
            m_askedFolders.insert(folderId);
            // An unreadable folder ends its chain: the path starts below it.
            if (file && folderId == kRootId)
                m_rootDriveFolderId = file->identifier.value_or(QString());
            else if (file && file->identifier.value_or(QString()) == folderId)
                remember(file);
            offerResolvedFiles();
            finishIfDone();
        });
}

std::optional<QString> DriveListing::pathUnderMyDrive(const QString &folderId, QString *missing) const
{
    if (m_rootDriveFolderId.isEmpty()) {
        if (!m_askedFolders.contains(kRootId))
            *missing = kRootId;
        return std::nullopt;
    }
    QStringList names;
    QString current = folderId;
    // Bounded by the number of folders known, so a parent cycle in an answer cannot loop.
    for (qsizetype steps = 0; steps <= m_dictGDrive.size(); ++steps) {
        if (current == m_rootDriveFolderId || current == kRootId) {
            names.prepend(kMyDrive);
            return names.join(QLatin1Char('/'));
        }
        const std::shared_ptr<GDFoldersList> node = m_dictGDrive.value(current);
        // A folder not met yet, or met without its parents, is asked for once.
        if (!node || node->driveFile()->parents.isEmpty()) {
            if (!m_askedFolders.contains(current))
                *missing = current;
            return std::nullopt;
        }
        names.prepend(node->folderName());
        current = node->driveFile()->parents.value(0);
    }
    return std::nullopt;
}

std::optional<QString> DriveListing::displayPath(const DriveFile &file, QString *missing) const
{
    const QString name = file.name.value_or(QString());
    for (const QString &parent : file.parents) {
        QString unknown;
        if (const std::optional<QString> folder = pathUnderMyDrive(parent, &unknown))
            return *folder + QLatin1Char('/') + name;
        if (!unknown.isEmpty()) {
            *missing = unknown;
            return std::nullopt;
        }
    }
    // No parent leads to the root (a file shared with the user): the names the listing knows.
    QStringList names { name };
    QString current = file.parents.value(0);
    for (qsizetype steps = 0; steps <= m_dictGDrive.size() && !current.isEmpty(); ++steps) {
        const std::shared_ptr<GDFoldersList> node = m_dictGDrive.value(current);
        if (!node)
            break;
        names.prepend(node->folderName());
        current = node->driveFile()->parents.value(0);
    }
    return names.join(QLatin1Char('/'));
}

bool DriveListing::isScanListFolder(const QString &folderId) const
{
    for (const FilePathNode &node : m_nodes) {
        if (node.dFolderList && node.dFolderList->folderId() == folderId)
            return true;
    }
    return false;
}

bool DriveListing::acceptsFile(const DriveFile &file) const
{
    if (file.md5Checksum.value_or(QString()).isEmpty() || !file.fileExtension)
        return false;
    return m_extensions.contains(*file.fileExtension, Qt::CaseInsensitive);
}

bool DriveListing::stopRequested() const
{
    return m_stop && m_stop->load();
}

void DriveListing::fail(const QString &reason)
{
    if (!m_failure.isEmpty())
        return;
    Log::line(reason);
    m_failure = reason;
    m_waiting.clear();
}

void DriveListing::finishIfDone()
{
    if (m_finished || m_recusiveCount > 0)
        return;
    m_finished = true;
    m_waiting.clear();
    if (m_callbacks.finished)
        m_callbacks.finished(m_failure);
}

void DriveListing::buildDriveFilePath(ImageFileInfo &record) const
{
    const std::shared_ptr<DriveFile> file = record.dFolderList ? record.dFolderList->driveFile() : nullptr;
    if (!file)
        return;
    QString missing;
    // Never the image link the record was made with: at worst the file's own name.
    record.filePath = displayPath(*file, &missing).value_or(file->name.value_or(record.fileName));
    record.filePathUrl = QUrl::fromLocalFile(record.filePath);
    record.folderPath = folderOf(record.filePath);
}
