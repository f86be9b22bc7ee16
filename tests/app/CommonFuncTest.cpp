// Byte sizes, dates, pattern escaping, control rules and library paths of the common utilities.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/CommonFunc.h"
#include "app/OSVersionFlags.h"

namespace {

struct SizeCase
{
    QVariant value;
    const char *text;
};

class FormattedSize : public testing::TestWithParam<SizeCase>
{
};

// Runs a block with the process in another time zone.
class ScopedTimeZone
{
public:
    explicit ScopedTimeZone(const char *zone) : m_saved(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~ScopedTimeZone()
    {
        if (m_saved.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", m_saved);
        tzset();
    }

private:
    QByteArray m_saved;
};

} // namespace

TEST_P(FormattedSize, ShowsTheSizeInTheLargestFittingUnit)
{
    EXPECT_EQ(CommonFunc::formattedSize(GetParam().value), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, FormattedSize,
    testing::Values(SizeCase{QVariant(), "0 bytes"}, SizeCase{QVariant(QStringLiteral("12")), "0 bytes"},
                    SizeCase{QVariant(0), "0 bytes"}, SizeCase{QVariant(5), "5 bytes"},
                    SizeCase{QVariant(999), "999 bytes"}, SizeCase{QVariant(999.6), "1000 bytes"},
                    SizeCase{QVariant(1000), "1 KB"}, SizeCase{QVariant(1536), "1.54 KB"},
                    SizeCase{QVariant(999999), "1000 KB"}, SizeCase{QVariant(qlonglong(1000000)), "1 MB"},
                    SizeCase{QVariant(qlonglong(2500000000000)), "2.50 TB"}, SizeCase{QVariant(-5), "-5 bytes"},
                    SizeCase{QVariant(-2000), "-2000 bytes"}, SizeCase{QVariant(51200), "51.20 KB"},
                    // Past the last unit the size stays in TB instead of running off the list.
                    SizeCase{QVariant(qulonglong(1000000000000000)), "1000 TB"},
                    SizeCase{QVariant(1e18), "1000000 TB"}));

TEST(CommonFunc, ExifDatesParseOnlyTheExifForm)
{
    const auto date = CommonFunc::dateFromExifString(QStringLiteral("2021:07:04 18:30:05"));
    ASSERT_TRUE(date.has_value());
    EXPECT_EQ(*date, QDateTime(QDate(2021, 7, 4), QTime(18, 30, 5), Qt::LocalTime));
    EXPECT_FALSE(CommonFunc::dateFromExifString(QStringLiteral("2021-07-04 18:30:05")).has_value());
    EXPECT_FALSE(CommonFunc::dateFromExifString(QString()).has_value());
    EXPECT_FALSE(CommonFunc::getStringFrom(QDateTime()).has_value());
    EXPECT_FALSE(CommonFunc::getDateTimeStringFrom(QDateTime(), QStringLiteral("yyyy")).has_value());
}

TEST(CommonFunc, DayStartInGMTTakesTheLocalCalendarDay)
{
    {
        const ScopedTimeZone zone("EST5");
        const QDateTime lateEvening(QDate(2024, 5, 1), QTime(23, 30), Qt::LocalTime);
        EXPECT_EQ(CommonFunc::dayStartInGMT(lateEvening), QDateTime(QDate(2024, 5, 1), QTime(0, 0), Qt::UTC));
    }
    {
        const ScopedTimeZone zone("IST-5:30");
        const QDateTime earlyMorning(QDate(2024, 3, 10), QTime(2, 0), Qt::LocalTime);
        EXPECT_EQ(CommonFunc::dayStartInGMT(earlyMorning), QDateTime(QDate(2024, 3, 10), QTime(0, 0), Qt::UTC));
    }
    const QDateTime today = CommonFunc::dateSecondsAgo(0);
    EXPECT_EQ(today.time(), QTime(0, 0));
    EXPECT_EQ(today.timeSpec(), Qt::UTC);
    EXPECT_EQ(CommonFunc::dateSecondsAgo(86400.0 * 7).date(), QDate::currentDate().addDays(-7));
}

TEST(CommonFunc, DisplayDatesUseThePatternLetters)
{
    const ScopedTimeZone zone("UTC0");
    const QDateTime date(QDate(2021, 7, 4), QTime(18, 30, 5), Qt::UTC);
    const QString text = CommonFunc::getDateTimeStringFrom(date, QStringLiteral("yyyy-MM-dd HH:mm:ss")).value();
    EXPECT_EQ(text, QStringLiteral("2021-07-04 18:30:05"));
    const QString twelveHour = CommonFunc::getDateTimeStringFrom(date).value();
    EXPECT_TRUE(twelveHour.contains(QLatin1String("2021 06:30:05"))) << twelveHour.toStdString();
}

TEST(CommonFunc, EscapesPatternCharacters)
{
    EXPECT_EQ(CommonFunc::escapeRegexCharacters(QStringLiteral("a.b(d)")), QStringLiteral("a\\.b\\(d\\)"));
    EXPECT_EQ(CommonFunc::escapeRegexCharacters(QStringLiteral("plain text")), QStringLiteral("plain text"));
    EXPECT_EQ(CommonFunc::escapeRegexCharacters(QStringLiteral("a\\b")), QStringLiteral("a\\\\b"));
    EXPECT_EQ(CommonFunc::escapeRegexCharacters(QStringLiteral("\"x/y+z\"")), QStringLiteral("\\\"x\\/y\\+z\\\""));
}

TEST(CommonFunc, TwoPartTitleRunsStayInsideTheText)
{
    const AttributedTitle full = CommonFunc::twoPartButtonTitle(QStringLiteral("Scan"), QStringLiteral("Scan (3)"), 12);
    ASSERT_EQ(full.runs.size(), 3);
    EXPECT_EQ(full.runs[1].start, 4);
    EXPECT_EQ(full.runs[1].length, 2);
    EXPECT_EQ(full.runs[1].color, CommonFunc::twoPartSecondColor());
    // A complete text shorter than the title and its two characters: every run is clamped.
    const AttributedTitle shortText = CommonFunc::twoPartButtonTitle(QStringLiteral("Scan"), QStringLiteral("Sc"), 12);
    for (const AttributedTitleRun &run : shortText.runs)
        EXPECT_LE(run.start + run.length, shortText.text.size());
    const AttributedTitle recolored = CommonFunc::recoloredTitle(full, Qt::red);
    EXPECT_EQ(recolored.runs.last().length, full.text.size());
    EXPECT_EQ(CommonFunc::fittingWidth(QString(), QFont()), 25.0);
    EXPECT_GE(CommonFunc::fittingWidth(QStringLiteral("i"), QFont()), 25.0);
}

TEST(CommonFunc, CentredFrameSitsLowerUnderTheNewerProfile)
{
    const QRectF window(0, 0, 400, 300);
    const QRectF reference(100, 100, 1000, 800);
    OSVersionFlags::applyVersion(11, 0);
    EXPECT_EQ(CommonFunc::centeredFrame(window, reference), QRectF(400, 290, 400, 300));
    OSVersionFlags::applyVersion(10, 15);
    EXPECT_EQ(CommonFunc::centeredFrame(window, reference), QRectF(400, 350, 400, 300));
    OSVersionFlags::applyVersion(OSVersionFlags::kProfileMajor, OSVersionFlags::kProfileMinor);
}

TEST(CommonFunc, LibraryDatabasePathPrefersLibraryApdb)
{
    QTemporaryDir dir;
    const QDir lib(dir.path());
    lib.mkpath(QStringLiteral("database/apdb"));
    const auto touch = [&lib](const char *relative) { QFile(lib.filePath(QString::fromLatin1(relative))).open(QIODevice::WriteOnly); };
    EXPECT_FALSE(CommonFunc::hasPhotosLibraryDatabase(dir.path()));
    touch("database/photos.db");
    EXPECT_TRUE(CommonFunc::hasPhotosLibraryDatabase(dir.path()));
    OSVersionFlags::applyVersion(12, 0);
    // A library that only has the older database file is read from that file.
    EXPECT_EQ(CommonFunc::photosLibraryDatabasePath(dir.path()), lib.filePath(QStringLiteral("database/photos.db")));
    touch("database/photos.sqlite");
    EXPECT_EQ(CommonFunc::photosLibraryDatabasePath(dir.path()), lib.filePath(QStringLiteral("database/photos.sqlite")));
    OSVersionFlags::applyVersion(10, 14);
    EXPECT_EQ(CommonFunc::photosLibraryDatabasePath(dir.path()), lib.filePath(QStringLiteral("database/photos.db")));
    touch("database/Library.apdb");
    OSVersionFlags::applyVersion(OSVersionFlags::kProfileMajor, OSVersionFlags::kProfileMinor);
    EXPECT_EQ(CommonFunc::photosLibraryDatabasePath(dir.path()), lib.filePath(QStringLiteral("database/Library.apdb")));
}

TEST(CommonFunc, PhotosApplicationsNeverRunHere)
{
    EXPECT_FALSE(CommonFunc::isApplicationRunning(QStringLiteral("com.apple.Photos")));
    EXPECT_FALSE(CommonFunc::isApplicationRunning(QStringLiteral("COM.APPLE.IPHOTO")));
}
