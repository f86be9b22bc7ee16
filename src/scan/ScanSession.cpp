#include "scan/ScanSession.h"

#include "model/ImageFileInfo.h"
#include "platform/Log.h"

void ScanSession::fetchLocalCopy(ImageFileInfo &record)
{
    if (!fetcher || !isCloudSource(record.scanType) || !record.localThumbPath.isEmpty()
        || record.isCopyNotFetched || stopped())
        return;
    const QString why = fetcher(record, abortMe);
    if (record.localThumbPath.isEmpty() && !stopped()) {
        record.isCopyNotFetched = true;
        Log::line(QStringLiteral("Not fetched whole, left out of the comparison: ") + record.filePath);
        std::lock_guard<std::mutex> lock(walkReportMutex);
        if (walkReport.notFetched++ == 0) {
            walkReport.firstNotFetched = record.filePath;
            walkReport.firstNotFetchedReason = why;
        }
    }
}
