// The listing of a Drive scan: the chosen folders page by page (100 files a page, every page
// followed to the end), their sub-folders unless they are scan-list entries of their own, and every
// file with a checksum and an enabled extension offered once to the delegate. Failed or silent
// pages end their branch; the delegate's startHashingStage runs exactly once per listing, after the
// last outstanding answer, also after Stop. Display paths ("My Drive/A/x.jpg") come from the parent
// chain the listing has met. GUI thread only.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include "cloud/DriveFileJson.h"
#include "model/FilePathNode.h"
#include "model/GDFoldersList.h"

class DriveService;
class GoogleDriveAccessDelegate;
class ImageFileInfo;

class DriveListing
{
public:
    static constexpr const char *kFileFields = "kind,nextPageToken,files(id,name,size,createdTime,"
                                               "modifiedTime,md5Checksum,mimeType,iconLink,parents,"
                                               "thumbnailLink,trashed,fileExtension,imageMediaMetadata)";
    static constexpr int kPageSize = 100;

    struct Request {
        std::vector<FilePathNode> nodes;
        // Lower-case extensions of the enabled file types.
        QStringList extensions;
        // The scan's stop flag; read between answers.
        const std::atomic<bool> *stop = nullptr;
    };

    DriveListing(DriveService &service, QString &rootDriveFolderId);
    ~DriveListing();

    // Starts a listing; answers of any earlier one are ignored from now on.
    void fetchFilesFromSelectedFolders(const Request &request, GoogleDriveAccessDelegate *delegate);

    // Gives a record made from a listed file its display path, folder path and file URL.
    void buildDriveFilePath(ImageFileInfo &record) const;

    // Every folder and file met, by Drive identifier.
    const QHash<QString, std::shared_ptr<GDFoldersList>> &dictGDrive() const { return m_dictGDrive; }
    const std::vector<FilePathNode> &arrPathNodesToScan() const { return m_nodes; }
    int recusiveCount() const { return m_recusiveCount; }
    bool isRunning() const { return m_delegate && !m_finished; }

private:
    struct Page {
        DriveFileList list;
        bool recurse = true;
    };

    void fetchDriveFiles(const QString &folderId, bool recurse, const QString &pageToken);
    void handleFileListPage(const QString &folderId, bool recurse, const std::optional<DriveFileList> &list);
    void processWaitingPages();
    void collectDriveFiles(const DriveFileList &page, bool recurse);
    bool isScanListFolder(const QString &folderId) const;
    bool acceptsFile(const DriveFile &file) const;
    void resolveDriveFilePath(ImageFileInfo &record, const GDFoldersList &node) const;
    void finishOnce();
    bool stopRequested() const;
    std::shared_ptr<GDFoldersList> remember(const std::shared_ptr<DriveFile> &file);

    DriveService &m_service;
    QString &m_rootDriveFolderId;
    GoogleDriveAccessDelegate *m_delegate = nullptr;
    const std::atomic<bool> *m_stop = nullptr;
    std::vector<FilePathNode> m_nodes;
    QStringList m_extensions;
    QHash<QString, std::shared_ptr<GDFoldersList>> m_dictGDrive;
    std::vector<Page> m_arrFilesList;
    QSet<QString> m_listedFolders;
    QSet<QString> m_offeredFiles;
    int m_recusiveCount = 0;
    int m_generation = 0;
    bool m_finished = true;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};
