// Dropbox files are deleted on the provider, and only while they are still the revision the scan
// listed, so a file changed elsewhere since the scan is never deleted unseen.
#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "removal/RemovalRoute.h"

class DropBoxHandler;
class ScanWrapper;

class DropboxRoute : public RemovalRoute
{
public:
    // `source` gives the scan source of the results shown (GUI thread).
    explicit DropboxRoute(std::function<std::shared_ptr<ScanWrapper>()> source);

    // The provider's file id (else the lower-case path, as the provider ignores case).
    QString identity(const ImageFileInfo &record) const override;
    RemovalOutcome remove(
        const std::shared_ptr<ImageFileInfo> &record, const std::atomic<bool> &stop) override;

private:
    std::shared_ptr<DropBoxHandler> handler() const;

    std::function<std::shared_ptr<ScanWrapper>()> m_source;
    // Taken on the GUI thread, used on the removal's pool thread.
    mutable std::mutex m_mutex;
    mutable std::shared_ptr<DropBoxHandler> m_handler;
};
