// The main window's side of a cloud listing, free of widgets and of the provider: records arrive
// on the source's thread, pass the scan's size limit and date window on a queue of their own, and
// reach the GUI thread in arrival order; the end of a listing is queued behind the last record, so
// a scan is handed every record it found, or the reason its listing failed.
#pragma once

#include <functional>
#include <memory>

#include "app/ScanWrapperDelegate.h"
#include "scan/ScanOptions.h"
#include "scan/ScanSession.h"

class OperationQueue;

class CloudListingReceiver : public ScanWrapperDelegate
{
public:
    // Every callback runs on the GUI thread.
    struct Callbacks {
        // A record passed the size limit and the date window; `count` records so far in this scan.
        std::function<void(const std::shared_ptr<ImageFileInfo> &record, int count)> added;
        // A folder of the folder sheet has been listed.
        std::function<void()> folderListed;
        // A scan's listing has ended (also when stopped); once per beginScan. `failure` is empty
        // unless the listing failed or was cut short, and then says why.
        std::function<void(const RecordList &records, const QString &failure)> scanListed;
    };

    explicit CloudListingReceiver(Callbacks callbacks);
    ~CloudListingReceiver() override;

    // GUI thread, before a scan's listing starts; the date window is fixed from now.
    void beginScan(ScanPeriodOptions period, qint64 minimumFileSize);
    // GUI thread: the records this scan has so far.
    RecordList records() const;

    void addCloudFile(const std::shared_ptr<ImageFileInfo> &record) override;
    void cloudListingFinished(const CloudListingEnd &end) override;

private:
    struct State;

    std::shared_ptr<State> m_state;
    std::unique_ptr<OperationQueue> m_queue;
};
