#include "cloud/DropBoxHandler.h"

#include <utility>

#include <QFileInfo>
#include <QMetaObject>
#include <QUrl>

#include "app/CommonFunc.h"
#include "app/MediaDownloader.h"
#include "app/ScanWrapperDelegate.h"
#include "cloud/DropboxAuth.h"
#include "cloud/ForwardingTokenSource.h"
#include "cloud/ListingRefusals.h"
#include "model/CloudScanFoldersList.h"
#include "model/ImageFileInfo.h"
#include "platform/CloudConfiguration.h"
#include "platform/Log.h"

namespace
{

const QString kRoot = QStringLiteral("Dropbox");

QString lowerPath(const CloudScanFoldersList &folder)
{
    return folder.folderPath.toLower();
}

// Also true for the same folder.
bool isInside(const QString &inner, const QString &outer)
{
    return inner == outer || inner.startsWith(outer + QLatin1Char('/'));
}

QString extensionOf(const QString &path)
{
    return QFileInfo(QFileInfo(path).fileName()).suffix();
}

} // namespace

DropBoxHandler::DropBoxHandler()
    : DropBoxHandler(
        Options { DropboxApi::configuredBases(), nullptr, CloudConfiguration::transferTimeoutMs(), {} })
{
}

DropBoxHandler::DropBoxHandler(Options options)
    : m_bounds(options.listingLimits)
{
    m_tokens = std::make_shared<ForwardingTokenSource>(
        options.tokens, QList<QUrl> { options.bases.api, options.bases.content });
    m_api = std::make_unique<DropboxApi>(options.bases, m_tokens, options.transferTimeoutMs);
}

DropBoxHandler::~DropBoxHandler()
{
    // Stops the worker before the walk's state goes.
    m_api.reset();
}

bool DropBoxHandler::hasAuthorizedClient() const
{
    return !m_tokens->accessToken().isEmpty();
}

void DropBoxHandler::signInToDropbox()
{
    DropboxAuth::sharedAuth()->authorizeFromControllerV2();
}

void DropBoxHandler::startListing(const CloudListingRequest &request, ScanWrapperDelegate &receiver)
{
    QList<std::shared_ptr<CloudScanFoldersList>> folders;
    for (const FilePathNode &node : request.nodes) {
        if (node.state == 1 && node.cloudFolder)
            folders.append(node.cloudFolder);
    }
    delegate = &receiver;
    setVideoExtensions(request.videoExtensions);
    isCompletListFetch = true;
    isAbortScanning = false;
    startScanning(request.extensions, folders, request.settings);
}

void DropBoxHandler::stopListing()
{
    isAbortScanning = true;
}

QString DropBoxHandler::fetchLocalCopy(ImageFileInfo &record, const std::atomic<bool> &stop)
{
    return downloadFile(record, CommonFunc::googleDriveThumbnailDirPath(), &stop);
}

bool DropBoxHandler::takeRedirect(const QUrl &url)
{
    DropboxClientsManager *manager = DropboxClientsManager::shared();
    if (!manager || !manager->isWaitingForRedirect())
        return false;
    const std::weak_ptr<DropBoxHandler> weak = weak_from_this();
    manager->handleRedirectURL(url, [weak](const std::optional<DropboxOAuthResult> &result) {
        const std::shared_ptr<DropBoxHandler> self = weak.lock();
        if (!self || !result)
            return;
        if (result->kind != DropboxOAuthResult::Kind::cancel)
            self->isAuthorizedFromDrive = result->kind == DropboxOAuthResult::Kind::success;
        if (self->signInEnded)
            self->signInEnded(*result);
    });
    return true;
}

void DropBoxHandler::runOnWorker(std::function<void()> job)
{
    QMetaObject::invokeMethod(m_api->workerContext(), std::move(job), Qt::QueuedConnection);
}

void DropBoxHandler::setVideoExtensions(const QStringList &extensions)
{
    runOnWorker([this, extensions] { m_videoExtensions = extensions; });
}

void DropBoxHandler::startScanning(const QStringList &extensions,
    const QList<std::shared_ptr<CloudScanFoldersList>> &folders, const RecordSettings &settings)
{
    runOnWorker([this, extensions, folders, settings] {
        m_recordSettings = settings;
        countFlagForThumbnails = 0;
        arrExtension = extensions;
        arrPathFetchFiles = outermostFolders(folders);
        indexForScannedPath = 0;
        m_reported = {};
        m_bounds.reset();
        m_failure.clear();
        if (arrPathFetchFiles.isEmpty()) {
            listingFinished();
            return;
        }
        rootNodeDriveList = arrPathFetchFiles.first();
        resetScanFolderIndexes(rootNodeDriveList);
        collectFilesOfFolder(rootNodeDriveList);
    });
}

QList<std::shared_ptr<CloudScanFoldersList>> DropBoxHandler::outermostFolders(
    const QList<std::shared_ptr<CloudScanFoldersList>> &folders)
{
    QList<std::shared_ptr<CloudScanFoldersList>> kept;
    for (int i = 0; i < folders.size(); ++i) {
        if (!folders[i])
            continue;
        const QString path = lowerPath(*folders[i]);
        bool covered = false;
        for (int j = 0; j < folders.size() && !covered; ++j) {
            if (j == i || !folders[j])
                continue;
            const QString other = lowerPath(*folders[j]);
            // An equal folder is walked once, at its first place; an inner one not at all.
            covered = other == path ? j < i : isInside(path, other);
        }
        if (!covered)
            kept.append(folders[i]);
    }
    return kept;
}

void DropBoxHandler::resetScanFolderIndexes(const std::shared_ptr<CloudScanFoldersList> &node)
{
    node->currentScanFolderIndex = 0;
    for (const auto &child : node->arrChildren)
        resetScanFolderIndexes(child);
}

void DropBoxHandler::collectFilesOfFolder(const std::shared_ptr<CloudScanFoldersList> &node)
{
    if (!node)
        return;
    if (!m_api->isWorkerThread()) {
        runOnWorker([this, node] { collectFilesOfFolder(node); });
        return;
    }
    if (node->isAllFilesFetched) {
        replayListedFolder(node);
        return;
    }
    if (!hasAuthorizedClient()) {
        // Without a client nothing can be listed; the walk ends and says why.
        listingFailed(ListingRefusals::notSignedIn(ListingRefusals::dropbox()));
        return;
    }
    // A listing cut short earlier (failure, stop) starts again from scratch, so nothing is doubled.
    node->arrChildren.clear();
    node->listedFiles = {};
    node->currentScanFolderIndex = 0;
    listPage(node, QString());
}

void DropBoxHandler::listPage(const std::shared_ptr<CloudScanFoldersList> &node, const QString &cursor)
{
    if (!mayAskForPage(cursor))
        return;
    auto completion = [this, node](const std::optional<DropboxListPage> &page, const QString &error) {
        pageArrived(node, page, error);
    };
    if (cursor.isEmpty())
        m_api->listFolder(serverPath(node->folderPath), completion);
    else
        m_api->listFolderContinue(cursor, completion);
}

void DropBoxHandler::pageArrived(const std::shared_ptr<CloudScanFoldersList> &node,
    const std::optional<DropboxListPage> &page, const QString &error)
{
    if (!page) {
        Log::line(QStringLiteral("Dropbox listing failed: ") + error);
        // A folder left half listed would look emptier than it is: the listing fails instead.
        listingFailed(ListingRefusals::folderFailed(node->folderPath, error));
        return;
    }
    QList<DropboxEntry> fresh;
    QString refusal = m_bounds.takePage(*page, fresh);
    if (refusal.isEmpty())
        refusal = processListFolderEntries(fresh, node);
    if (!refusal.isEmpty()) {
        // A folder cut short is listed again from its start, so its part is not kept.
        node->listedFiles = {};
        node->arrChildren.clear();
        node->isAllFilesFetched = false;
        listingFailed(refusal);
        return;
    }
    node->isAllFilesFetched = !page->hasMore;
    if (isAbortScanning.load()) {
        node->isAllFilesFetched = false;
        continueScanFromFolder(node);
        return;
    }
    if (page->hasMore && !isAbortScanning.load()) {
        node->isAllFilesFetched = false;
        listPage(node, page->cursor);
        return;
    }
    continueScanFromFolder(node);
}

QString DropBoxHandler::processListFolderEntries(
    const QList<DropboxEntry> &entries, const std::shared_ptr<CloudScanFoldersList> &folder)
{
    for (const DropboxEntry &entry : entries) {
        if (isAbortScanning.load())
            return {};
        QString refusal;
        switch (entry.kind) {
        case DropboxEntry::Kind::file:
            refusal = takeFile(entry, *folder);
            break;
        case DropboxEntry::Kind::folder: {
            auto child = std::make_shared<CloudScanFoldersList>();
            const QString display = entry.pathDisplay.isEmpty() ? entry.pathLower : entry.pathDisplay;
            child->folderPath = kRoot + display;
            child->folderName = entry.name;
            child->parentNodeDropBoxList = folder;
            folder->arrChildren.append(child);
            refusal = m_bounds.hold(qint64(sizeof(CloudScanFoldersList))
                + ListingHoldings::textBytes(child->folderPath)
                + ListingHoldings::textBytes(child->folderName));
            break;
        }
        case DropboxEntry::Kind::deleted:
            Log::line(QStringLiteral("deleted entry ") + entry.pathLower);
            break;
        case DropboxEntry::Kind::other:
            break;
        }
        if (!refusal.isEmpty())
            return refusal;
    }
    return {};
}

QString DropBoxHandler::takeFile(const DropboxEntry &entry, CloudScanFoldersList &folder)
{
    const std::optional<CloudListedFile> listed = listedFile(entry);
    if (!listed) {
        Log::line(QStringLiteral("Dropbox listed a file with an unusable path or identifier"));
        return {};
    }
    folder.listedFiles.push_back(*listed);
    const QString refusal = m_bounds.hold(listed->heldBytes());
    if (!refusal.isEmpty() || !isAccepted(*listed))
        return refusal;
    ++fileCount;
    return isCompletListFetch.load() ? report(*listed) : QString();
}

void DropBoxHandler::replayListedFolder(const std::shared_ptr<CloudScanFoldersList> &node)
{
    for (const CloudListedFile &listed : node->listedFiles) {
        if (!isAccepted(listed) || !isCompletListFetch.load())
            continue;
        ++fileCount;
        const QString refusal = report(listed);
        if (!refusal.isEmpty()) {
            listingFailed(refusal);
            return;
        }
    }
    // Queued, so a tree listed before is walked without growing the stack.
    runOnWorker([this, node] { continueScanFromFolder(node); });
}

void DropBoxHandler::continueScanFromFolder(const std::shared_ptr<CloudScanFoldersList> &node)
{
    if (!isCompletListFetch.load() || isAbortScanning.load()) {
        Log::line(QStringLiteral("Dropbox listing done: ") + Log::counted(fileCount.load(), "file", "files"));
        listingFinished();
        return;
    }
    if (node->currentScanFolderIndex < node->arrChildren.size()) {
        const std::shared_ptr<CloudScanFoldersList> child
            = node->arrChildren.at(node->currentScanFolderIndex);
        ++node->currentScanFolderIndex;
        collectFilesOfFolder(child);
        return;
    }
    const std::shared_ptr<CloudScanFoldersList> parent = node->parentNodeDropBoxList.lock();
    if (node != rootNodeDriveList && parent) {
        continueScanFromFolder(parent);
        return;
    }
    if (indexForScannedPath + 1 < arrPathFetchFiles.size()) {
        scanNextSelectedPath();
        return;
    }
    listingFinished();
    isCompletListFetch = false;
}

void DropBoxHandler::scanNextSelectedPath()
{
    ++indexForScannedPath;
    rootNodeDriveList = arrPathFetchFiles.at(indexForScannedPath);
    resetScanFolderIndexes(rootNodeDriveList);
    collectFilesOfFolder(rootNodeDriveList);
}

bool DropBoxHandler::mayAskForPage(const QString &cursor)
{
    if (cursor.isEmpty()) {
        // The folder sheet lists one folder at a time; each is judged on its own.
        if (!isCompletListFetch.load()) {
            m_bounds.reset();
            m_failure.clear();
        }
        m_bounds.startFolder();
    }
    const QString refusal = m_bounds.askPage(cursor);
    if (refusal.isEmpty())
        return true;
    listingFailed(refusal);
    return false;
}

void DropBoxHandler::listingFailed(const QString &reason)
{
    Log::line(reason);
    m_failure = reason;
    listingFinished();
    isCompletListFetch = false;
}

void DropBoxHandler::listingFinished()
{
    // Only a scan's listing asks for it, and only while it runs.
    m_reported = {};
    if (ScanWrapperDelegate *target = delegate.load())
        target->cloudListingFinished(CloudListingEnd { isCompletListFetch.load(), m_failure });
}

QString DropBoxHandler::report(const CloudListedFile &listed)
{
    const QString id = listed.id();
    if (!m_reported.insert(ListingHoldings::keyOf(id.isEmpty() ? listed.path().toLower() : id)).second)
        return {};
    const std::shared_ptr<ImageFileInfo> record = recordOf(listed, m_recordSettings);
    record->isVideo = isVideoPath(record->filePath);
    const QString refusal = m_bounds.hold(ListingHoldings::recordBytes(*record) + ListingHoldings::kKeyBytes);
    if (!refusal.isEmpty())
        return refusal;
    if (ScanWrapperDelegate *target = delegate.load())
        target->addCloudFile(record);
    return {};
}

bool DropBoxHandler::isAccepted(const CloudListedFile &listed) const
{
    const qint64 minimum = m_recordSettings.minimumAllowFileSize;
    return containsCaseInsensitive(arrExtension, extensionOf(listed.name()))
        && (minimum <= 0 || listed.size() >= quint64(minimum));
}

bool DropBoxHandler::isVideoPath(const QString &path) const
{
    return containsCaseInsensitive(m_videoExtensions, extensionOf(path));
}

bool DropBoxHandler::containsCaseInsensitive(const QStringList &array, const QString &text)
{
    return array.contains(text, Qt::CaseInsensitive);
}

std::optional<CloudListedFile> DropBoxHandler::listedFile(const DropboxEntry &entry)
{
    // The display path may be absent; the lower-case one reaches the same file.
    const QString path = entry.pathDisplay.isEmpty() ? entry.pathLower : entry.pathDisplay;
    return CloudListedFile::make({ path, entry.name, entry.id, entry.rev, entry.contentHash, entry.size,
        entry.clientModified, entry.serverModified });
}

std::shared_ptr<ImageFileInfo> DropBoxHandler::recordOf(
    const CloudListedFile &listed, const RecordSettings &settings)
{
    // Each scan gets records of its own, so its fingerprints and marks never reach the tree that
    // the folder sheet and later scans replay.
    auto record = std::make_shared<ImageFileInfo>();
    record->commonInit(settings);
    record->fileName = listed.name();
    const QString path = listed.path();
    if (!path.isEmpty()) {
        record->actualFilePathOnServer = path;
        record->filePath = kRoot + path;
    }
    const int slash = record->filePath.lastIndexOf(QLatin1Char('/'));
    record->folderPath = slash > 0 ? record->filePath.left(slash) : record->filePath;
    record->createDate = listed.created();
    record->modDate = listed.modified();
    record->fileSize = listed.size();
    record->fileMd5 = listed.contentHash();
    record->filePathUrl = QUrl::fromLocalFile(record->filePath);
    record->id = listed.id();
    record->rev = listed.rev();
    return record;
}

QString DropBoxHandler::serverPath(const QString &programPath)
{
    QString path = programPath;
    const int at = path.indexOf(kRoot);
    if (at >= 0)
        path.remove(at, kRoot.size());
    // The provider names its root "", never "/".
    return path == QLatin1String("/") ? QString() : path;
}

QString DropBoxHandler::downloadFile(ImageFileInfo &record, const QString &folder, const std::atomic<bool> *stop)
{
    if (!hasAuthorizedClient())
        return ListingRefusals::notSignedIn(ListingRefusals::dropbox());
    const int number = countFlagForThumbnails.fetch_add(1) + 1;
    const std::optional<QString> target = record.actualFilePathOnServer.isEmpty() || record.fileName.isEmpty()
        ? std::nullopt
        : MediaDownloader::targetPath(folder, QString::number(number) + QLatin1Char('_') + record.fileName);
    record.localThumbPath.clear();
    if (!target)
        return QStringLiteral("no name to save it as");
    const HttpResponse response = m_api->download(
        record.actualFilePathOnServer, *target, qint64(record.fileSize), record.fileMd5, stop);
    if (!response.ok()) {
        Log::line(QStringLiteral("Downloading from Dropbox fails: ") + response.describe());
        return response.describe();
    }
    record.localThumbPath = *target;
    return {};
}

DropboxApi::DeleteOutcome DropBoxHandler::deleteFilesFromDropbox(const ImageFileInfo &record)
{
    if (!hasAuthorizedClient())
        return DropboxApi::DeleteOutcome::failed;
    const QString path = record.actualFilePathOnServer.isEmpty() ? serverPath(record.filePath)
                                                                 : record.actualFilePathOnServer;
    const HttpResponse response = m_api->deleteFile(path, record.rev);
    const DropboxApi::DeleteOutcome outcome = DropboxApi::deleteOutcome(response);
    if (outcome == DropboxApi::DeleteOutcome::deleted) {
        Log::line(QString::fromUtf8(response.body));
        return outcome;
    }
    Log::line(QStringLiteral("error in deleting dropbox files = ") + response.describe());
    if (outcome == DropboxApi::DeleteOutcome::notFound)
        Log::line(QStringLiteral("There is nothing at the given path."));
    return outcome;
}
