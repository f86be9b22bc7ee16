#include "scan/ScanSession.h"

#include "model/ImageFileInfo.h"

void ScanSession::fetchLocalCopy(ImageFileInfo &record)
{
    if (fetcher && isCloudSource(record.scanType) && record.localThumbPath.isEmpty() && !stopped())
        fetcher(record, abortMe);
}
