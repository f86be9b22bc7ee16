// The listing of a Drive scan: the chosen folders page by page (100 files a page, every page
// followed to the end), their sub-folders unless they are scan-list entries of their own, and every
// file with a checksum and an enabled extension offered once, page by page, as soon as its display
// path is known. A display path is the file's path under "My Drive" through the first of its
// parents that leads to the root; folders the listing has not met are asked for. The listing ends
// exactly once, after the last outstanding answer, also after Stop; a failed page, a page token
// met before or more pages than the limit end it as failed, with the reason. GUI thread only.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include "cloud/CloudSource.h"
#include "cloud/DriveFileJson.h"
#include "cloud/ListingHoldings.h"
#include "model/FilePathNode.h"
#include "model/GDFoldersList.h"

class DriveService;
class ImageFileInfo;
struct HttpResponse;

class DriveListing
{
public:
    static constexpr const char *kFileFields = "kind,nextPageToken,files(id,name,size,createdTime,"
                                               "modifiedTime,md5Checksum,mimeType,iconLink,parents,"
                                               "thumbnailLink,trashed,fileExtension,imageMediaMetadata)";
    static constexpr const char *kFolderFields = "id,name,mimeType,parents";
    static constexpr int kPageSize = 100;

    struct Request {
        std::vector<FilePathNode> nodes;
        // Lower-case extensions of the enabled file types.
        QStringList extensions;
        // The scan's stop flag; read between answers.
        const std::atomic<bool> *stop = nullptr;
        // File-list pages the listing may ask for.
        int maxPages = CloudSource::kMaxListingPages;
        // Bytes the listing may hold: the files it accepted and the scan's records of them.
        qint64 maxHeldBytes = ListingHoldings::kDefaultMaxBytes;
    };

    struct Callbacks {
        // One accepted file, its display path resolvable.
        std::function<void(const std::shared_ptr<GDFoldersList> &entry)> addGoogleDriveFile;
        // The listing has ended; `failure` is empty unless it failed or was cut short.
        std::function<void(const QString &failure)> finished;
    };

    DriveListing(DriveService &service, QString &rootDriveFolderId);
    ~DriveListing();

    // Starts a listing; answers of any earlier one are ignored from now on.
    void fetchFilesFromSelectedFolders(const Request &request, Callbacks callbacks);

    // The scan's record of an offered file would hold `bytes`: false past the bound, and the
    // listing has failed.
    bool holdRecord(qint64 bytes);
    // Between listings: the most the last listing held, in bytes.
    qint64 peakHeldBytes() const { return m_holdings.peak(); }

    // Gives a record made from a listed file its display path, folder path and file URL.
    void buildDriveFilePath(ImageFileInfo &record) const;

    // Every folder met, by Drive identifier.
    const QHash<QString, std::shared_ptr<GDFoldersList>> &dictGDrive() const { return m_dictGDrive; }
    const std::vector<FilePathNode> &arrPathNodesToScan() const { return m_nodes; }
    int recusiveCount() const { return m_recusiveCount; }
    bool isRunning() const { return !m_finished; }

private:
    void fetchDriveFiles(const QString &folderId, bool recurse, const QString &pageToken);
    void handleFileListPage(const QString &folderId, bool recurse, const std::optional<DriveFileList> &list,
        const HttpResponse &response);
    void collectDriveFiles(const DriveFileList &page, bool recurse);
    // Offers every waiting file whose path is known; asks for one unknown folder per file.
    void offerResolvedFiles();
    void askForFolder(const QString &folderId);
    bool isScanListFolder(const QString &folderId) const;
    bool acceptsFile(const DriveFile &file) const;
    // "My Drive/A/B" for folder `folderId` when its chain reaches the root; else nothing, and
    // `missing` names the first folder still to ask for (empty when the chain is a dead end).
    std::optional<QString> pathUnderMyDrive(const QString &folderId, QString *missing) const;
    // The display path of `file`; nothing while a folder on the way is still to ask for.
    std::optional<QString> displayPath(const DriveFile &file, QString *missing) const;
    void fail(const QString &reason);
    void finishIfDone();
    bool stopRequested() const;
    // A folder is kept by its identifier, for the paths of the files below it; false (and the
    // listing failed) when a new one would pass the bound.
    bool remember(const std::shared_ptr<DriveFile> &folder);
    static std::shared_ptr<GDFoldersList> nodeOf(const std::shared_ptr<DriveFile> &file);
    // A folder kept or an accepted file waiting for its path is held: false (and the listing
    // failed) past the bound.
    bool holdEntry(const DriveFile &file);

    DriveService &m_service;
    QString &m_rootDriveFolderId;
    Callbacks m_callbacks;
    const std::atomic<bool> *m_stop = nullptr;
    std::vector<FilePathNode> m_nodes;
    QStringList m_extensions;
    QHash<QString, std::shared_ptr<GDFoldersList>> m_dictGDrive;
    // Accepted files whose path waits for a folder to be asked for.
    std::vector<std::shared_ptr<GDFoldersList>> m_waiting;
    QSet<QString> m_listedFolders;
    QSet<QString> m_offeredFiles;
    // Folders asked for: answered (whatever the answer), and still out.
    QSet<QString> m_askedFolders;
    QSet<QString> m_pendingFolders;
    QSet<QString> m_pageTokens;
    QString m_failure;
    int m_maxPages = CloudSource::kMaxListingPages;
    ListingHoldings m_holdings;
    int m_pagesAsked = 0;
    int m_recusiveCount = 0;
    int m_generation = 0;
    bool m_finished = true;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};
