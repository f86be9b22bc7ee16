#include "scan/SourceEnumerator.h"

#include <algorithm>

#include <QFileInfo>

#include "model/DBOperations.h"
#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "platform/Log.h"
#include "platform/Trash.h"
#include "scan/ScanPeriod.h"

namespace
{

SourceWalkerOptions walkerOptions(const ScanOptions &options, const std::atomic<bool> &stop)
{
    SourceWalkerOptions walker;
    walker.allowedExtensions = options.allowedExtensions;
    walker.videoExtensions = options.videoExtensions;
    walker.untickedExtensions = options.untickedExtensions;
    walker.minimumFileSize = options.globals.minimumAllowFileSize;
    walker.includePhotosLibInFolder = options.includePhotosLibInFolder;
    walker.exclusions = ExclusionMatcher(options.excludedFolders, &stop);
    return walker;
}

} // namespace

SourceEnumerator::SourceEnumerator(const ScanSession &session, const std::vector<FilePathNode> &sources,
    std::function<void(const QString &path, int records)> added)
    : m_session(session)
    , m_sources(sources)
    , m_added(std::move(added))
    , m_walker(walkerOptions(session.options, session.abortMe), session.abortMe,
          { [this](const WalkedFile &file) { return addFileToScan(file); },
              [this](const QString &path, bool insideFolder) { scanPhotosLibrary(path, insideFolder); } },
          roots(sources))
{
}

QStringList SourceEnumerator::roots(const std::vector<FilePathNode> &sources)
{
    QStringList paths;
    for (const FilePathNode &node : sources) {
        if (node.state != 0 && node.filePath)
            paths.append(*node.filePath);
    }
    return paths;
}

SourceEnumerator::Walked SourceEnumerator::run()
{
    using NodeType = GlobalObjects::NodeType;
    for (const FilePathNode &node : m_sources) {
        if (node.state == 0 || !node.filePath)
            continue;
        if (m_session.stopped())
            break;
        // Before anything asks what it is: a root on a silent share holds whoever looks.
        if (m_walker.skipsAsNotAnswering(*node.filePath))
            continue;
        switch (node.nodeType) {
        case NodeType::nodeTypefile:
            m_walker.addFileToScan(*node.filePath);
            break;
        case NodeType::nodeTypefolder:
            // An entry restored while its drive was away is listed as a folder; it may be a file.
            if (QFileInfo(*node.filePath).isFile())
                m_walker.addFileToScan(*node.filePath);
            else
                m_walker.scanFolder(*node.filePath);
            break;
        case NodeType::nodeTypePhotos:
            scanPhotosLibrary(*node.filePath, false);
            break;
        default:
            break;
        }
    }
    m_walker.offerLinkedFiles();
    Walked walked { std::move(m_records), m_walker.report() };
    walked.report.libraryReadInPart = m_ownReport.libraryReadInPart;
    walked.report.libraryItemsTaken = m_ownReport.libraryItemsTaken;
    walked.report.libraryCutShortDatabase = m_ownReport.libraryCutShortDatabase;
    walked.report.libraryCutShortFailure = m_ownReport.libraryCutShortFailure;
    walked.report.unreadableLibrary = m_ownReport.unreadableLibrary;
    walked.report.unreadableLibraryDatabase = m_ownReport.unreadableLibraryDatabase;
    walked.report.unreadableLibraryFailure = m_ownReport.unreadableLibraryFailure;
    walked.report.libraryFilesMissing = m_ownReport.libraryFilesMissing;
    walked.report.firstLibraryFileMissing = m_ownReport.firstLibraryFileMissing;
    walked.report.outsideScanPeriod = m_ownReport.outsideScanPeriod;
    walked.report.firstSilentOwnFolder = m_session.options.silentOwnFolders.value(0);
    return walked;
}

void SourceEnumerator::addRecord(const std::shared_ptr<ImageFileInfo> &record, const QString &path)
{
    m_records.push_back(record);
    if (m_added)
        m_added(path, int(m_records.size()));
}

bool SourceEnumerator::addFileToScan(const WalkedFile &file)
{
    const std::shared_ptr<ImageFileInfo> record
        = ImageFileInfo::initWithPathForFile(file.path, m_session.options.recordSettings(), file.attributes);
    if (!record)
        return false;
    record->isVideo = file.isVideo;
    if (!ScanPeriod::isWithinScanPeriod(*record, m_session.options.period)) {
        ++m_ownReport.outsideScanPeriod;
        return true;
    }
    if (claimFile(record->fileIdentity))
        addRecord(record, file.path);
    return true;
}

bool SourceEnumerator::claimFile(const std::optional<FileIdentity> &identity)
{
    if (!identity)
        return true;
    if (m_recordedFiles.contains(*identity))
        return false;
    m_recordedFiles.insert(*identity);
    return true;
}

void SourceEnumerator::scanPhotosLibrary(const QString &libraryPath, bool insideFolder)
{
    if (m_isOnePhotosLibScan || m_session.stopped())
        return;
    if (Trash::isInsideTrashFolder(libraryPath)) {
        Log::line(QStringLiteral("Skipped a photo library in the Trash: ") + libraryPath);
        return;
    }
    // One photo library per scan.
    m_isOnePhotosLibScan = true;
    // The library is read with the scan's own window, the one its files are tested against.
    LibraryQueryOptions query = DBOperations::currentOptions();
    query.window = ScanPeriod::libraryWindow(m_session.options.period);
    query.stop = &m_session.abortMe;
    query.outsideWindow = [this](const QVariantMap &item) { countOutsideWindow(item); };
    LibraryRead read;
    const QList<QVariantMap> items = DBOperations::fetchData(libraryPath, query, &read);
    if (!read.silentMount.isEmpty())
        m_walker.reportNotAnswering(libraryPath);
    else if (read.extent == LibraryExtent::InPart || read.extent == LibraryExtent::TooLarge
        || read.extent == LibraryExtent::CutShort) {
        m_ownReport.libraryReadInPart = libraryPath;
        m_ownReport.libraryItemsTaken = items.size();
        if (read.extent == LibraryExtent::CutShort) {
            m_ownReport.libraryCutShortDatabase = read.databasePath;
            m_ownReport.libraryCutShortFailure = read.failure;
        }
    } else if (read.extent == LibraryExtent::Unreadable && m_ownReport.unreadableLibrary.isEmpty()) {
        m_ownReport.unreadableLibrary = libraryPath;
        m_ownReport.unreadableLibraryDatabase = read.databasePath;
        m_ownReport.unreadableLibraryFailure = read.failure;
    }
    if (insideFolder) {
        Log::line(QStringLiteral("Photo library %1: %2 items").arg(libraryPath).arg(items.size()));
        if (items.isEmpty())
            m_isOnePhotosLibScan = false;
    }
    const int missingBefore = m_ownReport.libraryFilesMissing;
    for (const QVariantMap &item : items) {
        if (m_session.stopped())
            break;
        addPhotosLibraryItem(item, libraryPath);
    }
    if (const int missing = m_ownReport.libraryFilesMissing - missingBefore; missing > 0)
        Log::line(QStringLiteral("Photo library %1: %2 items have no original file in it, such as %3")
                      .arg(libraryPath)
                      .arg(missing)
                      .arg(m_ownReport.firstLibraryFileMissing));
}

std::optional<bool> SourceEnumerator::isVideoLibraryItem(const QString &imagePath) const
{
    const ScanOptions &options = m_session.options;
    const QString lower = imagePath.toLower();
    const bool enabled = std::any_of(options.allowedExtensions.cbegin(), options.allowedExtensions.cend(),
        [&lower](const QString &extension) { return lower.endsWith(extension); });
    if (!enabled)
        return std::nullopt;
    const bool isVideo = SourceWalker::endsWithAny(lower, options.videoExtensions);
    if (isVideo && !options.allowVideoScanning)
        return std::nullopt;
    return isVideo;
}

void SourceEnumerator::countOutsideWindow(const QVariantMap &item)
{
    // Counted as a folder's file is: only when the scan would have taken it but for its date.
    if (isVideoLibraryItem(item.value(QStringLiteral("imagePath")).toString())
        && !ImageFileInfo::isBelowMinimumSize(item.value(QStringLiteral("fileSize")).toULongLong(),
            m_session.options.globals.minimumAllowFileSize))
        ++m_ownReport.outsideScanPeriod;
}

void SourceEnumerator::addPhotosLibraryItem(const QVariantMap &item, const QString &libraryPath)
{
    const ScanOptions &options = m_session.options;
    const QString imagePath = item.value(QStringLiteral("imagePath")).toString();
    const std::optional<bool> isVideo = isVideoLibraryItem(imagePath);
    if (!isVideo)
        return;
    const std::shared_ptr<ImageFileInfo> record = ImageFileInfo::initWithPhotosOriginalPath(imagePath,
        QString(), item.value(QStringLiteral("originalFileName")).toString(),
        item.value(QStringLiteral("fileSize")).toULongLong(), item.value(QStringLiteral("uuid")).toString(),
        item.value(QStringLiteral("modelId")).toString(),
        item.value(QStringLiteral("uuidRKVersion")).toString(), libraryPath, options.recordSettings());
    if (!record)
        return;
    // Only an item whose file could not be looked at is asked again.
    if (!record->fileIdentity && !QFileInfo::exists(imagePath)) {
        if (m_ownReport.libraryFilesMissing++ == 0)
            m_ownReport.firstLibraryFileMissing = imagePath;
        return;
    }
    if (!ScanPeriod::isLibraryItemWithinScanPeriod(*record, options.period)) {
        ++m_ownReport.outsideScanPeriod;
        return;
    }
    if (!claimFile(record->fileIdentity))
        return;
    record->isVideo = *isVideo;
    addRecord(record, imagePath);
}
