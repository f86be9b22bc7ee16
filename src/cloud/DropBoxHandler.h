// The Dropbox scan source: lists the chosen folders depth-first, one folder and one page at a
// time, turns file entries into records with the provider's content hash for the MD5, reports the
// accepted ones and the end of the listing to its delegate, downloads a file when the hashing
// needs its pixels, and deletes files for the removal run.
//
// The walk and every change of the folder nodes run on the API's worker thread; the nodes may be
// read elsewhere only between listings. Downloads and deletions block their calling thread.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_set>
#include <vector>

#include <QList>
#include <QString>
#include <QStringList>

#include "app/DropboxClientsManager.h"
#include "app/ScanWrapper.h"
#include "cloud/CloudSource.h"
#include "cloud/DropboxApi.h"
#include "cloud/DropboxListingBounds.h"
#include "model/CloudListedFile.h"
#include "model/FilePathNode.h"
#include "model/RecordSettings.h"

class CloudScanFoldersList;
class ForwardingTokenSource;
class ImageFileInfo;
class TokenSource;

class DropBoxHandler : public ScanWrapper,
                       public CloudSource,
                       public std::enable_shared_from_this<DropBoxHandler>
{
public:
    struct Options {
        DropboxApi::Bases bases;
        // Null: the application's sign-in (DropboxAuth).
        std::shared_ptr<TokenSource> tokens;
        int transferTimeoutMs = 60000;
        // What one listing may take before it ends as failed.
        DropboxListingBounds::Limits listingLimits;
    };

    // From the application's configuration, signed in through DropboxAuth.
    DropBoxHandler();
    explicit DropBoxHandler(Options options);
    ~DropBoxHandler() override;

    // The signed-in client exists.
    bool hasAuthorizedClient() const;
    // GUI thread: opens the sign-in page in the browser.
    static void signInToDropbox();

    // The checked Dropbox folders of `request`, listed with its extensions and settings.
    void startListing(const CloudListingRequest &request, ScanWrapperDelegate &receiver) override;
    void stopListing() override;
    QString fetchLocalCopy(ImageFileInfo &record, const std::atomic<bool> &stop) override;
    // The Dropbox sign-in takes the redirect while its flow waits for one; its ending sets
    // isAuthorizedFromDrive (a cancel leaves it) and then goes to signInEnded.
    bool takeRedirect(const QUrl &url) override;
    // GUI thread: the ending of a sign-in this source took the redirect of.
    std::function<void(const DropboxOAuthResult &result)> signInEnded;

    // Any thread. Starts a scan's listing of `folders` (the flags are set by the caller); the files
    // it reports are records made with the scan's `settings`.
    void startScanning(const QStringList &extensions,
        const QList<std::shared_ptr<CloudScanFoldersList>> &folders, const RecordSettings &settings);
    // Any thread. Lists one folder (or replays its earlier listing) and moves on in the walk.
    void collectFilesOfFolder(const std::shared_ptr<CloudScanFoldersList> &node);
    // Extensions (lower case) whose records are videos.
    void setVideoExtensions(const QStringList &extensions);

    // Blocking; refused on the GUI thread and the listing's thread. Sets localThumbPath to the
    // downloaded copy when it is the whole listed file; otherwise clears it and leaves no file
    // (also when `stop` is set) and says why.
    QString downloadFile(ImageFileInfo &record, const QString &folder, const std::atomic<bool> *stop = nullptr);
    // Blocking. Deleted only when Dropbox deleted the listed revision now; notFound when nothing was
    // at the path any more (moved or deleted elsewhere since the scan), which removed nothing.
    DropboxApi::DeleteOutcome deleteFilesFromDropbox(const ImageFileInfo &record);

    static bool containsCaseInsensitive(const QStringList &array, const QString &text);
    // What the folder tree keeps of a listed file; nothing when it cannot be kept.
    static std::optional<CloudListedFile> listedFile(const DropboxEntry &entry);
    // A scan's record of a listed file, made with the scan's `settings`.
    static std::shared_ptr<ImageFileInfo> recordOf(
        const CloudListedFile &listed, const RecordSettings &settings);
    // "Dropbox/Trips" -> "/Trips"; "Dropbox" -> "" (the root).
    static QString serverPath(const QString &programPath);
    // The chosen folders without those equal to or inside an earlier or enclosing one.
    static QList<std::shared_ptr<CloudScanFoldersList>> outermostFolders(
        const QList<std::shared_ptr<CloudScanFoldersList>> &folders);

    // Between listings: the most the last listing held (its tree's entries, the records it gave
    // the scan, its repeat checks), in bytes.
    qint64 peakHeldBytes() const { return m_bounds.peakHeldBytes(); }

    // GUI thread: the Dropbox scan list, kept across switches of source.
    std::vector<FilePathNode> arrPathNodesCloudScan;
    std::atomic<int> countFlagForThumbnails { 0 };
    std::atomic<int> fileCount { 0 };

private:
    // Worker thread from here on.
    void runOnWorker(std::function<void()> job);
    void listPage(const std::shared_ptr<CloudScanFoldersList> &node, const QString &cursor);
    void pageArrived(const std::shared_ptr<CloudScanFoldersList> &node,
        const std::optional<DropboxListPage> &page, const QString &error);
    // Files go to the folder's listing (and to the scan), folders become its children. Answers why
    // the listing ends when a bound is passed; a stop request leaves the rest of the page.
    QString processListFolderEntries(
        const QList<DropboxEntry> &entries, const std::shared_ptr<CloudScanFoldersList> &folder);
    QString takeFile(const DropboxEntry &entry, CloudScanFoldersList &folder);
    void replayListedFolder(const std::shared_ptr<CloudScanFoldersList> &node);
    void continueScanFromFolder(const std::shared_ptr<CloudScanFoldersList> &node);
    void scanNextSelectedPath();
    static void resetScanFolderIndexes(const std::shared_ptr<CloudScanFoldersList> &node);
    bool isAccepted(const CloudListedFile &listed) const;
    bool isVideoPath(const QString &path) const;
    // Gives the scan its record of `listed` unless it had one; answers why the listing ends when
    // the record would pass the bound of what it holds.
    QString report(const CloudListedFile &listed);
    void listingFinished();
    // Ends the scan's listing as failed, with `reason`.
    void listingFailed(const QString &reason);
    // False (and the listing failed) when a bound of the listing would be passed.
    bool mayAskForPage(const QString &cursor);

    std::shared_ptr<ForwardingTokenSource> m_tokens;
    std::unique_ptr<DropboxApi> m_api;

    std::shared_ptr<CloudScanFoldersList> rootNodeDriveList;
    QStringList arrExtension;
    QStringList m_videoExtensions;
    RecordSettings m_recordSettings;
    QList<std::shared_ptr<CloudScanFoldersList>> arrPathFetchFiles;
    int indexForScannedPath = 0;
    // Hashes of the identifiers (else lower-case paths) of the files this scan has reported.
    std::unordered_set<std::size_t> m_reported;
    // This listing's bounds, and why it failed.
    DropboxListingBounds m_bounds;
    QString m_failure;
};
