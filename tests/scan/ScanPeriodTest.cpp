// The date window of a scan.
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

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
    bool libraryItem = false; // tested as a photo-library item
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
    period.start = ScanPeriod::scanStartDate(c.photosFrom, kNow);
    period.end = ScanPeriod::scanEndDate(kNow);
    ImageFileInfo record;
    record.isExifInfoUpdated = true; // no file behind this record
    record.exifInfo = std::make_shared<ExifInfo>();
    if (c.dateAgoHours >= 0) {
        const QDateTime date = kNow.addSecs(-3600 * c.dateAgoHours);
        record.exifInfo->captureDate = date;
        record.createDate = date;
    }
    EXPECT_EQ(c.libraryItem ? ScanPeriod::isLibraryItemWithinScanPeriod(record, period)
                            : ScanPeriod::isWithinScanPeriod(record, period),
        c.inside);
}

INSTANTIATE_TEST_SUITE_P(Windows, ScanPeriodTest,
    ::testing::Values(PeriodCase { "YesterdayNoon", 0, 1, 27, true },
        PeriodCase { "YesterdayExcludesToday", 0, 1, 2, false },
        PeriodCase { "NoCaptureDateIsOutside", 0, 2, -1, false },
        PeriodCase { "NoCreationDateIsOutside", 2, 2, -1, false },
        PeriodCase { "NoDateChoicePassesAll", 1, 2, -1, true },
        PeriodCase { "SinceTheBeginning", 0, 6, 100000, true },
        PeriodCase { "SinceTheBeginningWithoutCaptureDate", 0, 6, -1, true },
        PeriodCase { "SinceTheBeginningWithoutCreationDate", 2, 6, -1, true },
        PeriodCase { "CapturedOrAddedSinceTheBeginningWithoutDate", 3, 6, -1, true },
        PeriodCase { "CreationDateTooOld", 2, 2, 24 * 30, false },
        PeriodCase { "LibraryItemSinceTheBeginningWithoutCaptureDate", 0, 6, -1, true, true },
        PeriodCase { "LibraryItemWithoutCaptureDateInAWindow", 0, 2, -1, false, true }),
    [](const auto &info) { return std::string(info.param.name); });

// Runs a block with the process's local time zone set to `zone`, then restores it.
class LocalZone
{
public:
    explicit LocalZone(const char *zone)
        : m_old(qgetenv("TZ"))
        , m_hadOld(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~LocalZone()
    {
        if (m_hadOld)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray m_old;
    bool m_hadOld;
};

TEST(ScanPeriodStartTest, SinceTheBeginningHasNoStart)
{
    EXPECT_EQ(ScanPeriod::scanStartDate(6, kNow), 0.0);
    EXPECT_EQ(ScanPeriod::scanStartDate(9, kNow), 0.0);
}

TEST(ScanPeriodStartTest, EveryPeriodStartsAtLocalMidnight)
{
    // 15:00 UTC on 20 May is 03:00 on 21 May in Auckland (UTC+12): "today" there began at
    // 12:00 UTC on 20 May, not at 00:00 UTC.
    LocalZone zone("Pacific/Auckland");
    const QDateTime aucklandToday = QDateTime(QDate(2026, 5, 20), QTime(12, 0), Qt::UTC);
    EXPECT_EQ(ScanPeriod::scanStartDate(0, kNow), double(aucklandToday.toSecsSinceEpoch()));
    EXPECT_EQ(ScanPeriod::scanEndDate(kNow), double(aucklandToday.toSecsSinceEpoch()));
    EXPECT_EQ(ScanPeriod::scanStartDate(1, kNow), double(aucklandToday.addDays(-1).toSecsSinceEpoch()));
    EXPECT_EQ(ScanPeriod::scanStartDate(2, kNow), double(aucklandToday.addDays(-7).toSecsSinceEpoch()));

    ScanPeriodOptions period;
    period.enabled = true;
    period.filesFromDate = 0;
    period.photosFrom = 0;
    ScanPeriod::fixWindow(period, kNow);
    ImageFileInfo record;
    record.isExifInfoUpdated = true;
    record.exifInfo = std::make_shared<ExifInfo>();
    // Half an hour after local midnight is today; half an hour before it is not.
    record.exifInfo->captureDate = aucklandToday.addSecs(1800);
    EXPECT_TRUE(ScanPeriod::isWithinScanPeriod(record, period));
    record.exifInfo->captureDate = aucklandToday.addSecs(-1800);
    EXPECT_FALSE(ScanPeriod::isWithinScanPeriod(record, period));
}
