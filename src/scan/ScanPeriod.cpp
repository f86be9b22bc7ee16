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

LibraryDateWindow ScanPeriod::libraryWindow(const ScanPeriodOptions &period)
{
    if (!period.enabled || period.start == 0.0)
        return LibraryDateWindow();
    const auto at
        = [](double seconds) { return QDateTime::fromMSecsSinceEpoch(qint64(seconds * 1000.0), Qt::UTC); };
    // Yesterday ends where today begins; every other window runs on to now.
    const std::optional<QDateTime> to
        = period.photosFrom == 1 ? std::optional<QDateTime>(at(period.end)) : std::nullopt;
    return LibraryDateWindow::between(at(period.start), to, period.filesFromDate);
}

std::optional<QDateTime> ScanPeriod::captureDateOf(ImageFileInfo &record)
{
    record.updateExifInfo();
    if (record.exifInfo && record.exifInfo->captureDate)
        return *record.exifInfo->captureDate;
    return std::nullopt;
}

std::optional<QDateTime> ScanPeriod::creationDateOf(const ImageFileInfo &record)
{
    return record.createDate.isValid() ? std::optional<QDateTime>(record.createDate) : std::nullopt;
}

bool ScanPeriod::isInWindow(const std::optional<QDateTime> &date, const ScanPeriodOptions &period)
{
    // "Since the beginning" is no window: a photo without the chosen date is in it as well.
    if (period.start == 0.0)
        return true;
    if (!date)
        return false;
    const double t = secondsOf(*date);
    if (period.photosFrom == 1)
        return period.start < t && t < period.end;
    return period.start <= t;
}

bool ScanPeriod::isWithinScanPeriod(ImageFileInfo &record, const ScanPeriodOptions &period)
{
    if (!period.enabled)
        return true;
    switch (period.filesFromDate) {
    case LibraryDateWindow::kCaptureDate:
    case LibraryDateWindow::kCaptureOrAdded:
        return isInWindow(captureDateOf(record), period);
    case LibraryDateWindow::kFileCreationDate:
        return isInWindow(creationDateOf(record), period);
    default:
        return true;
    }
}

bool ScanPeriod::isLibraryItemWithinScanPeriod(ImageFileInfo &record, const ScanPeriodOptions &period)
{
    if (!period.enabled || period.start == 0.0)
        return true;
    switch (period.filesFromDate) {
    case LibraryDateWindow::kCaptureDate:
        return captureDateOf(record).has_value();
    case LibraryDateWindow::kFileCreationDate:
        return isInWindow(creationDateOf(record), period);
    default:
        return true;
    }
}
