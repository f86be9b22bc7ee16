#include "cloud/CloudListingReceiver.h"

#include <mutex>

#include "model/ImageFileInfo.h"
#include "platform/Dispatch.h"
#include "platform/OperationQueue.h"
#include "scan/ScanPeriod.h"

struct CloudListingReceiver::State {
    Callbacks callbacks;
    // Read on the filter queue, set on the GUI thread between scans.
    std::mutex mutex;
    ScanPeriodOptions period;
    qint64 minimumFileSize = 0;
    // GUI thread only.
    RecordList records;
    bool scanOpen = false;
};

CloudListingReceiver::CloudListingReceiver(Callbacks callbacks)
    : m_state(std::make_shared<State>())
    , m_queue(std::make_unique<OperationQueue>(1))
{
    m_state->callbacks = std::move(callbacks);
}

CloudListingReceiver::~CloudListingReceiver()
{
    m_queue->cancelAllOperations();
    m_queue->waitUntilAllOperationsAreFinished();
}

void CloudListingReceiver::beginScan(ScanPeriodOptions period, qint64 minimumFileSize)
{
    // Fixed here for every source: a window left unfixed would let every date through.
    ScanPeriod::fixWindow(period);
    {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        m_state->period = period;
        m_state->minimumFileSize = minimumFileSize;
    }
    m_state->records.clear();
    m_state->scanOpen = true;
}

RecordList CloudListingReceiver::records() const
{
    return m_state->records;
}

void CloudListingReceiver::addCloudFile(const std::shared_ptr<ImageFileInfo> &record)
{
    const std::weak_ptr<State> weak = m_state;
    m_queue->addOperation([weak, record] {
        const std::shared_ptr<State> state = weak.lock();
        if (!state || !record)
            return;
        ScanPeriodOptions period;
        qint64 minimum = 0;
        {
            std::lock_guard<std::mutex> lock(state->mutex);
            period = state->period;
            minimum = state->minimumFileSize;
        }
        if (record->isBelowMinimumSize(minimum) || !ScanPeriod::isWithinScanPeriod(*record, period))
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

void CloudListingReceiver::cloudListingFinished(const CloudListingEnd &end)
{
    const std::weak_ptr<State> weak = m_state;
    m_queue->addOperation([weak, end] {
        Dispatch::main([weak, end] {
            const std::shared_ptr<State> state = weak.lock();
            if (!state)
                return;
            if (!end.scan) {
                if (state->callbacks.folderListed)
                    state->callbacks.folderListed();
                return;
            }
            if (!std::exchange(state->scanOpen, false))
                return;
            if (state->callbacks.scanListed)
                state->callbacks.scanListed(state->records, end.failure);
        });
    });
}
