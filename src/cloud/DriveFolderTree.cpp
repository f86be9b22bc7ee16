#include "cloud/DriveFolderTree.h"

#include "cloud/DriveService.h"

namespace
{

const QString kRootId = QStringLiteral("root");
const QString kMyDrive = QStringLiteral("My Drive");

std::shared_ptr<GDFoldersList> nodeFor(const std::shared_ptr<DriveFile> &file)
{
    auto node = std::make_shared<GDFoldersList>();
    node->setFolderName(file->name.value_or(QString()));
    node->setFolderId(file->identifier.value_or(QString()));
    node->setDriveFile(file);
    return node;
}

} // namespace

DriveFolderTree::DriveFolderTree(DriveService &service, QString &rootDriveFolderId)
    : m_service(service)
    , m_rootDriveFolderId(rootDriveFolderId)
{
}

void DriveFolderTree::refresh()
{
    setBusy(false);
    m_root.reset();
    loadRootDriveFolders();
}

void DriveFolderTree::loadRootDriveFolders()
{
    if (!m_root) {
        m_root = std::make_shared<GDFoldersList>();
        m_root->setFolderName(kMyDrive);
        m_root->setFolderId(kRootId);
        m_root->setFolderAbsPath(kMyDrive);
        m_recusiveCount = 0;
        ++m_generation;
    }
    setBusy(false);
    fetchDriveFolders(kRootId, nullptr, QString(), false);
}

void DriveFolderTree::expand(const std::shared_ptr<GDFoldersList> &node)
{
    if (!node || !node->children().isEmpty())
        return;
    setBusy(false);
    fetchDriveFolders(node->folderId(), node, QString(), false);
}

void DriveFolderTree::fetchDriveFolders(const QString &folderId, const std::shared_ptr<GDFoldersList> &node,
    const QString &pageToken, bool foundBefore)
{
    ++m_recusiveCount;
    DriveService::ListQuery query;
    query.q = QStringLiteral("trashed=false and mimeType='%1' and '%2' in parents")
                  .arg(QLatin1String(DriveFileJson::kFolderMimeType), DriveService::quoted(folderId));
    query.fields = QString::fromLatin1(kFolderFields);
    query.pageToken = pageToken;
    const int generation = m_generation;
    const std::weak_ptr<int> alive = m_alive;
    m_service.listFiles(query,
        [this, alive, generation, folderId, node, foundBefore](
            const std::optional<DriveFileList> &list, const HttpResponse &) {
            if (alive.expired() || generation != m_generation)
                return;
            if (m_recusiveCount > 0)
                --m_recusiveCount;
            handleFolderListResult(folderId, node, list, foundBefore);
        });
}

void DriveFolderTree::handleFolderListResult(const QString &folderId,
    const std::shared_ptr<GDFoldersList> &node, const std::optional<DriveFileList> &list, bool foundBefore)
{
    bool found = foundBefore;
    if (list && m_root) {
        for (const std::shared_ptr<DriveFile> &file : list->files) {
            std::shared_ptr<GDFoldersList> child = nodeFor(file);
            const QString parent = file->parents.value(0);
            found = true;
            if (folderId == kRootId) {
                child->setFolderAbsPath(m_root->folderAbsPath() + QLatin1Char('/') + child->folderName());
                m_root->children().append(child);
                if (m_rootDriveFolderId.isEmpty())
                    m_rootDriveFolderId = parent;
            } else {
                collectFolderPaths(m_root, child, parent);
            }
        }
        // Sub-folder lists longer than one page go on until the server has no next page.
        if (!list->nextPageToken.isEmpty()) {
            fetchDriveFolders(folderId, node, list->nextPageToken, found);
            return;
        }
    }
    // An emptied folder loses its disclosure triangle; the root keeps it.
    if (node && node != m_root)
        node->setIsExpandable(found);
    queryAnswered();
}

void DriveFolderTree::queryAnswered()
{
    if (m_recusiveCount != 0)
        return;
    if (m_callbacks.reload)
        m_callbacks.reload();
    setBusy(true);
}

void DriveFolderTree::setBusy(bool finished)
{
    if (m_callbacks.busy)
        m_callbacks.busy(finished);
}

bool DriveFolderTree::collectFolderPaths(const std::shared_ptr<GDFoldersList> &from,
    const std::shared_ptr<GDFoldersList> &node, const QString &parentId)
{
    for (const std::shared_ptr<GDFoldersList> &child : from->children()) {
        if (child->folderId() == parentId) {
            child->setFolderAbsPath(from->folderAbsPath() + QLatin1Char('/') + child->folderName());
            node->setFolderAbsPath(child->folderAbsPath() + QLatin1Char('/') + node->folderName());
            child->children().append(node);
            return true;
        }
        if (collectFolderPaths(child, node, parentId))
            return true;
    }
    return false;
}
