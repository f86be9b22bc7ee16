// Library items are never deleted here: remove() only records them, and finish() hands them, per
// library, to the album for marked duplicates in batches of 99 references. An item counts as removed
// only once the album reports it added.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QString>

#include "removal/RemovalRoute.h"

class PhotosLibraryBridge;

class LibraryAlbumRoute : public RemovalRoute
{
public:
    static constexpr int kBatchSize = 99;

    LibraryAlbumRoute(std::shared_ptr<PhotosLibraryBridge> bridge, QString albumName);

    QString identity(const ImageFileInfo &record) const override;
    RemovalOutcome remove(
        const std::shared_ptr<ImageFileInfo> &record, const std::atomic<bool> &stop) override;
    std::vector<RemovalReport> finish(const std::atomic<bool> &stop) override;

    // Shown on the GUI thread while the worker waits, when the album must be made and the
    // application does not run.
    std::function<void()> showNotRunningAlert;
    std::function<void()> waitBeforeScript;

    // How the last finish() went; read on the GUI thread once the run has ended.
    struct Ending {
        bool photosNotRunning = false;
        bool albumFailed = false;
        bool notAuthorized = false;
    };
    Ending ending() const { return m_ending; }

private:
    using Records = std::vector<std::shared_ptr<ImageFileInfo>>;
    void handOver(class PhotosAlbum &album, const Records &records, const std::atomic<bool> &stop,
        std::vector<RemovalReport> &reports);

    std::shared_ptr<PhotosLibraryBridge> m_bridge;
    QString m_albumName;
    // Library path -> recorded items, in the order the paths first came; worker thread only.
    std::vector<std::pair<QString, Records>> m_recorded;
    Ending m_ending;
};
