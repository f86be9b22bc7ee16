// The album route of library items.
#include "removal/LibraryAlbumRoute.h"

#include <algorithm>

#include <QDir>

#include "model/ImageFileInfo.h"
#include "model/PhotosNode.h"
#include "platform/Log.h"
#include "platform/PhotosLibraryBridge.h"
#include "removal/PhotosAlbum.h"

namespace
{

QString mediaId(const ImageFileInfo &record)
{
    return record.photosInfo ? record.photosInfo->uuIDRkVersion.value_or(QString()) : QString();
}

// The item's file relative to its library; the whole path when it lies elsewhere.
QString pathInLibrary(const ImageFileInfo &record)
{
    const QString relative = QDir(record.libraryPath).relativeFilePath(record.filePath);
    return record.libraryPath.isEmpty() || relative.startsWith(QLatin1String("..")) ? record.filePath
                                                                                    : relative;
}

void failAll(const std::vector<std::shared_ptr<ImageFileInfo>> &records, const QString &why,
    std::vector<RemovalReport> &reports)
{
    for (const auto &record : records)
        reports.push_back({ record, RemovalOutcome::failed(why) });
}

} // namespace

LibraryAlbumRoute::LibraryAlbumRoute(std::shared_ptr<PhotosLibraryBridge> bridge, QString albumName)
    : m_bridge(std::move(bridge))
    , m_albumName(std::move(albumName))
{
}

QString LibraryAlbumRoute::identity(const ImageFileInfo &record) const
{
    const QString id = mediaId(record);
    return id.isEmpty() ? QStringLiteral("library-path:") + record.filePath
                        : QStringLiteral("library:") + record.libraryPath + QLatin1Char(':') + id;
}

RemovalOutcome LibraryAlbumRoute::remove(
    const std::shared_ptr<ImageFileInfo> &record, const std::atomic<bool> &)
{
    auto entry = std::find_if(m_recorded.begin(), m_recorded.end(),
        [&](const auto &library) { return library.first == record->libraryPath; });
    if (entry == m_recorded.end())
        entry = m_recorded.insert(m_recorded.end(), { record->libraryPath, {} });
    entry->second.push_back(record);
    return RemovalOutcome::deferred();
}

std::vector<RemovalReport> LibraryAlbumRoute::finish(const std::atomic<bool> &stop)
{
    std::vector<RemovalReport> reports;
    m_ending = Ending();
    const auto recorded = std::move(m_recorded);
    m_recorded.clear();
    for (size_t i = 0; i < recorded.size(); ++i) {
        const auto &[libraryPath, records] = recorded[i];
        m_bridge->openLibrary(libraryPath);
        PhotosAlbum album(*m_bridge, m_albumName);
        album.showNotRunningAlert = showNotRunningAlert;
        if (waitBeforeScript)
            album.waitBeforeScript = waitBeforeScript;
        if (!album.isAlbumFound() && (!album.createPhotosAlbum() || !album.isAlbumFound())) {
            Log::line(QStringLiteral("The library album could not be made"));
            m_ending.notAuthorized = album.notAuthorized;
            m_ending.photosNotRunning = album.notRunning;
            m_ending.albumFailed = !album.notAuthorized && !album.notRunning;
            // No further library is tried.
            for (size_t rest = i; rest < recorded.size(); ++rest)
                failAll(
                    recorded[rest].second, QStringLiteral("the album could not be found or made"), reports);
            break;
        }
        if (!m_bridge->isRunning()) {
            m_ending.photosNotRunning = true;
            failAll(records, QStringLiteral("the photo library application is not running"), reports);
            continue;
        }
        handOver(album, records, stop, reports);
    }
    return reports;
}

void LibraryAlbumRoute::handOver(PhotosAlbum &album, const Records &records, const std::atomic<bool> &stop,
    std::vector<RemovalReport> &reports)
{
    Records batch;
    QStringList references;
    const auto flush = [&] {
        if (batch.empty())
            return;
        const QStringList added = album.moveDuplicateImagesToDuplicateMarkedPhotosAlbumWithID(references);
        for (size_t i = 0; i < batch.size(); ++i) {
            reports.push_back({ batch[i],
                // Listed, not removed: the item keeps its place and its space in the library.
                added.contains(references[qsizetype(i)])
                    ? RemovalOutcome::removed(false)
                    : RemovalOutcome::failed(QStringLiteral("not added to the album")) });
        }
        batch.clear();
        references.clear();
    };
    for (const auto &record : records) {
        // Items not reached before a stop are neither handed over nor reported: they stay marked.
        if (stop)
            break;
        const QString id = mediaId(*record);
        const QString reference = id.isEmpty() ? QString() : m_bridge->mediaItemReference(id);
        if (reference.isEmpty()) {
            reports.push_back(
                { record, RemovalOutcome::failed(QStringLiteral("no such item in the library")) });
            continue;
        }
        m_bridge->describeItem(reference, pathInLibrary(*record));
        batch.push_back(record);
        references.append(reference);
        if (batch.size() == size_t(kBatchSize))
            flush();
    }
    flush();
}
