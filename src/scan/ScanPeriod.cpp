#include "scan/ScanPeriod.h"

#include <array>

#include "app/CommonFunc.h"
#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"

namespace
{

constexpr std::array<double, 5> kSecondsBack { 86400, 604800, 1296000, 2592000, 31536000 };

double secondsOf(const QDateTime &date)
{
    return double(date.toMSecsSinceEpoch()) / 1000.0;
}

} // namespace

double ScanPeriod::scanStartDate(int photosFrom, const QDateTime &now)
{
    if (photosFrom == 0)
        return secondsOf(CommonFunc::localDayStart(now));
    if (photosFrom >= 1 && photosFrom <= 5)
        return secondsOf(CommonFunc::localDayStartSecondsBefore(now, kSecondsBack[size_t(photosFrom - 1)]));
    return 0.0;
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
