#include "cloud/DriveListing.h"

#include <QUrl>

#include "cloud/DriveService.h"
#include "cloud/GoogleDriveAccessDelegate.h"
#include "model/ImageFileInfo.h"
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

void DriveListing::fetchFilesFromSelectedFolders(const Request &request, GoogleDriveAccessDelegate *delegate)
{
    ++m_generation;
    m_delegate = delegate;
    m_stop = request.stop;
    m_nodes = request.nodes;
    m_extensions = request.extensions;
    m_arrFilesList.clear();
    m_listedFolders.clear();
    m_offeredFiles.clear();
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
    if (m_recusiveCount == 0)
        finishOnce();
}

std::shared_ptr<GDFoldersList> DriveListing::remember(const std::shared_ptr<DriveFile> &file)
{
    auto node = std::make_shared<GDFoldersList>();
    node->setFolderName(file->name.value_or(QString()));
    node->setFolderId(file->identifier.value_or(QString()));
    node->setDriveFile(file);
    if (!node->folderId().isEmpty())
        m_dictGDrive.insert(node->folderId(), node);
    return node;
}

void DriveListing::fetchDriveFiles(const QString &folderId, bool recurse, const QString &pageToken)
{
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
            const std::optional<DriveFileList> &list, const HttpResponse &) {
            if (alive.expired() || generation != m_generation)
                return;
            handleFileListPage(folderId, recurse, list);
        });
}

void DriveListing::handleFileListPage(
    const QString &folderId, bool recurse, const std::optional<DriveFileList> &list)
{
    if (m_recusiveCount > 0)
        --m_recusiveCount;
    if (stopRequested()) {
        if (m_recusiveCount == 0)
            finishOnce();
        return;
    }
    if (!list) {
        Log::line(QStringLiteral("Drive listing of folder ") + folderId + QStringLiteral(" ends early"));
    } else {
        // Only an answer for "root" tells the root's real identifier; a parent seen in any other
        // folder's page would name that folder instead.
        if (folderId == kRootId && m_rootDriveFolderId.isEmpty() && !list->files.isEmpty())
            m_rootDriveFolderId = list->files.first()->parents.value(0);
        m_arrFilesList.push_back({ *list, recurse });
        if (!list->nextPageToken.isEmpty()) {
            fetchDriveFiles(folderId, recurse, list->nextPageToken);
            return;
        }
    }
    // A folder's last page (or a branch that ended) hands over everything waiting; a failed last
    // query must not strand the pages that came before it.
    if (list || m_recusiveCount == 0)
        processWaitingPages();
    if (m_recusiveCount == 0)
        finishOnce();
}

void DriveListing::processWaitingPages()
{
    std::vector<Page> pages;
    pages.swap(m_arrFilesList);
    for (const Page &page : pages) {
        if (stopRequested())
            return;
        collectDriveFiles(page.list, page.recurse);
    }
}

void DriveListing::collectDriveFiles(const DriveFileList &page, bool recurse)
{
    for (const std::shared_ptr<DriveFile> &file : page.files) {
        const QString fileId = file->identifier.value_or(QString());
        if (DriveFileJson::isFolder(*file)) {
            remember(file);
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
        m_offeredFiles.insert(fileId);
        const std::shared_ptr<GDFoldersList> node = remember(file);
        if (m_delegate)
            m_delegate->addGoogleDriveFile(node);
    }
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

void DriveListing::finishOnce()
{
    if (m_finished)
        return;
    m_finished = true;
    m_arrFilesList.clear();
    if (m_delegate)
        m_delegate->startHashingStage();
}

void DriveListing::buildDriveFilePath(ImageFileInfo &record) const
{
    const std::shared_ptr<DriveFile> file = record.dFolderList ? record.dFolderList->driveFile() : nullptr;
    if (!file)
        return;
    const std::shared_ptr<GDFoldersList> entry = m_dictGDrive.value(file->identifier.value_or(QString()));
    if (entry) {
        const QString parent = entry->driveFile()->parents.value(0);
        const std::shared_ptr<GDFoldersList> folder = m_dictGDrive.value(parent);
        if (entry->driveFile()->parents.isEmpty()) {
            stdoutLine(record.folderPath);
        } else if (folder) {
            record.filePath = folder->folderName() + QLatin1Char('/') + entry->folderName();
            resolveDriveFilePath(record, *folder);
            record.filePathUrl = QUrl::fromLocalFile(record.filePath);
        } else if (parent == m_rootDriveFolderId) {
            record.filePath = kMyDrive + QLatin1Char('/') + record.fileName;
            record.filePathUrl = QUrl::fromLocalFile(record.filePath);
        }
    }
    if (!record.filePath.isEmpty())
        record.folderPath = folderOf(record.filePath);
}

void DriveListing::resolveDriveFilePath(ImageFileInfo &record, const GDFoldersList &node) const
{
    // Bounded by the number of folders known, so a parent cycle in an answer cannot loop.
    const GDFoldersList *current = &node;
    for (qsizetype steps = 0; steps <= m_dictGDrive.size(); ++steps) {
        const QString parent = current->driveFile()->parents.value(0);
        if (parent.isEmpty())
            return;
        const std::shared_ptr<GDFoldersList> above = m_dictGDrive.value(parent);
        if (!above) {
            if (parent == m_rootDriveFolderId)
                record.filePath.prepend(kMyDrive + QLatin1Char('/'));
            return;
        }
        record.filePath.prepend(above->folderName() + QLatin1Char('/'));
        current = above.get();
    }
}
