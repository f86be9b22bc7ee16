#include "cloud/DropboxListingReceiver.h"

#include <mutex>

#include "app/ScanWrapper.h"
#include "model/ImageFileInfo.h"
#include "platform/Dispatch.h"
#include "platform/OperationQueue.h"
#include "scan/ScanPeriod.h"

struct DropboxListingReceiver::State {
    Callbacks callbacks;
    // Read on the filter queue, set on the GUI thread between scans.
    std::mutex mutex;
    ScanPeriodOptions period;
    // GUI thread only.
    RecordList records;
    bool scanOpen = false;
};

DropboxListingReceiver::DropboxListingReceiver(const ScanWrapper &source, Callbacks callbacks)
    : m_source(source)
    , m_state(std::make_shared<State>())
    , m_queue(std::make_unique<OperationQueue>(1))
{
    m_state->callbacks = std::move(callbacks);
}

DropboxListingReceiver::~DropboxListingReceiver()
{
    m_queue->cancelAllOperations();
    m_queue->waitUntilAllOperationsAreFinished();
}

void DropboxListingReceiver::beginScan(const ScanPeriodOptions &period)
{
    {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        m_state->period = period;
    }
    m_state->records.clear();
    m_state->scanOpen = true;
}

RecordList DropboxListingReceiver::records() const
{
    return m_state->records;
}

void DropboxListingReceiver::addDropboxFile(const std::shared_ptr<ImageFileInfo> &record)
{
    const std::weak_ptr<State> weak = m_state;
    m_queue->addOperation([weak, record] {
        const std::shared_ptr<State> state = weak.lock();
        if (!state)
            return;
        ScanPeriodOptions period;
        {
            std::lock_guard<std::mutex> lock(state->mutex);
            period = state->period;
        }
        if (!ScanPeriod::isWithinScanPeriod(*record, period))
            return;
        record->isMark = false;
        Dispatch::main([weak, record] {
            const std::shared_ptr<State> state = weak.lock();
            if (!state || !state->scanOpen)
                return;
            state->records.append(record);
            if (state->callbacks.added)
                state->callbacks.added(record, int(state->records.size()));
        });
    });
}

void DropboxListingReceiver::dropboxListingFinished()
{
    // Read now: the source clears the flag right after this call.
    const bool scan = m_source.isCompletListFetch.load();
    const std::weak_ptr<State> weak = m_state;
    m_queue->addOperation([weak, scan] {
        Dispatch::main([weak, scan] {
            const std::shared_ptr<State> state = weak.lock();
            if (!state)
                return;
            if (!scan) {
                if (state->callbacks.folderListed)
                    state->callbacks.folderListed();
                return;
            }
            if (!std::exchange(state->scanOpen, false))
                return;
            if (state->callbacks.scanListed)
                state->callbacks.scanListed(state->records);
        });
    });
}
