// The date window of a scan.
#include <gtest/gtest.h>

#include <cmath>

#include <QTimeZone>

#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "scan/ScanPeriod.h"

namespace
{

const QDateTime kNow = QDateTime(QDate(2026, 5, 20), QTime(15, 0), Qt::UTC);

struct PeriodCase {
    const char *name;
    int filesFromDate; // 0 capture date, 1 no date, 2 creation date
    int photosFrom; // 1 yesterday, 2 last 7 days, 6 since the beginning
    qint64 dateAgoHours; // the record's date, hours before now; -1 for none
    bool inside;
};

class ScanPeriodTest : public ::testing::TestWithParam<PeriodCase>
{
};

} // namespace

TEST_P(ScanPeriodTest, RecordDateAgainstTheWindow)
{
    const PeriodCase &c = GetParam();
    ScanPeriodOptions period;
    period.enabled = true;
    period.filesFromDate = c.filesFromDate;
    period.photosFrom = c.photosFrom;
    period.start = c.photosFrom == 1 ? double(kNow.addDays(-1).date().startOfDay(Qt::UTC).toSecsSinceEpoch())
                                     : ScanPeriod::scanStartDate(c.photosFrom, kNow);
    period.end = ScanPeriod::scanEndDate(kNow);
    ImageFileInfo record;
    record.isExifInfoUpdated = true; // no file behind this record
    record.exifInfo = std::make_shared<ExifInfo>();
    if (c.dateAgoHours >= 0) {
        const QDateTime date = kNow.addSecs(-3600 * c.dateAgoHours);
        record.exifInfo->captureDate = date;
        record.createDate = date;
    }
    EXPECT_EQ(ScanPeriod::isWithinScanPeriod(record, period), c.inside);
}

INSTANTIATE_TEST_SUITE_P(Windows, ScanPeriodTest,
    ::testing::Values(PeriodCase { "YesterdayNoon", 0, 1, 27, true },
        PeriodCase { "YesterdayExcludesToday", 0, 1, 2, false },
        PeriodCase { "NoCaptureDateIsOutside", 0, 2, -1, false },
        PeriodCase { "NoCreationDateIsOutside", 2, 2, -1, false },
        PeriodCase { "NoDateChoicePassesAll", 1, 2, -1, true },
        PeriodCase { "SinceTheBeginning", 0, 6, 100000, true },
        PeriodCase { "CreationDateTooOld", 2, 2, 24 * 30, false }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ScanPeriodStartTest, SinceTheBeginningHasNoStartAndTodayStartsAtMidnightGmt)
{
    EXPECT_EQ(ScanPeriod::scanStartDate(6, kNow), 0.0);
    EXPECT_EQ(ScanPeriod::scanStartDate(9, kNow), 0.0);
    const double today = ScanPeriod::scanStartDate(0, kNow);
    EXPECT_EQ(std::fmod(today, 86400.0), 0.0);
    EXPECT_LE(today, double(kNow.toSecsSinceEpoch()) + 86400.0);
}
