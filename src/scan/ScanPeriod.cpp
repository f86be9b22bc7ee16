#include "scan/ScanPeriod.h"

#include "app/CommonFunc.h"
#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"

namespace
{

double secondsOf(const QDateTime &date)
{
    return double(date.toMSecsSinceEpoch()) / 1000.0;
}

} // namespace

double ScanPeriod::scanStartDate(int photosFrom, const QDateTime &now)
{
    if (photosFrom < 0 || photosFrom > 5)
        return 0.0;
    return secondsOf(CommonFunc::periodStart(photosFrom, now));
}

double ScanPeriod::scanEndDate(const QDateTime &now)
{
    return secondsOf(CommonFunc::localDayStart(now));
}

void ScanPeriod::fixWindow(ScanPeriodOptions &period, const QDateTime &now)
{
    period.start = scanStartDate(period.photosFrom, now);
    period.end = scanEndDate(now);
}

bool ScanPeriod::isWithinScanPeriod(ImageFileInfo &record, const ScanPeriodOptions &period)
{
    if (!period.enabled)
        return true;
    record.updateExifInfo();
    std::optional<QDateTime> date;
    if (period.filesFromDate == 0) {
        if (record.exifInfo && record.exifInfo->captureDate)
            date = *record.exifInfo->captureDate;
    } else if (period.filesFromDate == 2) {
        if (record.createDate.isValid())
            date = record.createDate;
    } else {
        return true;
    }
    if (!date)
        return false;
    if (period.start == 0.0)
        return true;
    const double t = secondsOf(*date);
    if (period.photosFrom == 1)
        return period.start < t && t < period.end;
    return period.start <= t;
}
