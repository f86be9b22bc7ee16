// The main window's side of a Dropbox listing, free of widgets: records arrive on the listing's
// worker thread, pass the scan's date window on a queue of their own (the window may need a
// file's EXIF data, which means downloading it), and reach the GUI thread in arrival order; the
// end of a listing is queued behind the last record, so a scan is handed every record it found.
#pragma once

#include <functional>
#include <memory>

#include "app/ScanWrapperDelegate.h"
#include "scan/ScanOptions.h"
#include "scan/ScanSession.h"

class OperationQueue;
class ScanWrapper;

class DropboxListingReceiver : public ScanWrapperDelegate
{
public:
    // Every callback runs on the GUI thread.
    struct Callbacks {
        // A record passed the date window; `count` records so far in this scan.
        std::function<void(const std::shared_ptr<ImageFileInfo> &record, int count)> added;
        // A folder of the folder sheet has been listed.
        std::function<void()> folderListed;
        // A scan's listing has ended (also when stopped); once per beginScan.
        std::function<void(const RecordList &records)> scanListed;
    };

    DropboxListingReceiver(const ScanWrapper &source, Callbacks callbacks);
    ~DropboxListingReceiver() override;

    // GUI thread, before a scan's listing starts.
    void beginScan(const ScanPeriodOptions &period);
    // GUI thread: the records this scan has so far.
    RecordList records() const;

    void addDropboxFile(const std::shared_ptr<ImageFileInfo> &record) override;
    void dropboxListingFinished() override;

private:
    struct State;

    const ScanWrapper &m_source;
    std::shared_ptr<State> m_state;
    std::unique_ptr<OperationQueue> m_queue;
};
