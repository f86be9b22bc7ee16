// The "My Drive" folder tree, listed lazily: the root's folders first, a folder's sub-folders when
// it is expanded. Every folder query is counted while it is out; when the count returns to 0 the
// tree is redrawn once and the busy state ends, failed queries included. A refresh drops the tree
// and every answer still owed to it. GUI thread only.
#pragma once

#include <functional>
#include <memory>

#include <QString>

#include "cloud/DriveFileJson.h"
#include "model/GDFoldersList.h"

class DriveService;
struct HttpResponse;

class DriveFolderTree
{
public:
    struct Callbacks {
        // All folder answers are in: redraw the outline.
        std::function<void()> reload;
        // false: queries are out; true: all answered.
        std::function<void(bool finished)> busy;
    };

    static constexpr const char *kFolderFields = "kind,nextPageToken,files(mimeType,id,kind,name,webViewLink,"
                                                 "thumbnailLink,trashed,md5Checksum,parents)";

    // `rootDriveFolderId` is shared with the listing: both learn the root's real identifier.
    DriveFolderTree(DriveService &service, QString &rootDriveFolderId);

    void setCallbacks(Callbacks callbacks) { m_callbacks = std::move(callbacks); }

    // "My Drive", or null before the first load and after a refresh.
    std::shared_ptr<GDFoldersList> root() const { return m_root; }
    int recusiveCount() const { return m_recusiveCount; }

    // Drops the tree and lists the root again.
    void refresh();
    // Makes the root when missing and asks for its folders.
    void loadRootDriveFolders();
    // Lists the sub-folders of an expanded node that has none yet.
    void expand(const std::shared_ptr<GDFoldersList> &node);

    // Places `node` under the first node below `from` (depth first) whose identifier is `parentId`.
    static bool collectFolderPaths(const std::shared_ptr<GDFoldersList> &from,
        const std::shared_ptr<GDFoldersList> &node, const QString &parentId);

private:
    // One page of sub-folders of `folderId`; `node` is the expanded node (null for the root).
    void fetchDriveFolders(const QString &folderId, const std::shared_ptr<GDFoldersList> &node,
        const QString &pageToken, bool foundBefore);
    void handleFolderListResult(const QString &folderId, const std::shared_ptr<GDFoldersList> &node,
        const std::optional<DriveFileList> &list, bool foundBefore);
    void queryAnswered();
    void setBusy(bool finished);

    DriveService &m_service;
    QString &m_rootDriveFolderId;
    Callbacks m_callbacks;
    std::shared_ptr<GDFoldersList> m_root;
    int m_recusiveCount = 0;
    // Raised by a refresh, so answers for the dropped tree are ignored.
    int m_generation = 0;
    // Answers arriving after the tree has gone find this expired.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};
