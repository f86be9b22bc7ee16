// The metadata rows of a record: order, placeholders, GPS texts and the EXIF load.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/LocalizedString.h"
#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "platform/ImageSource.h"
#include "platform/ImageSourceFixtures.h"
#include "results/MetadataRows.h"

namespace
{

QString valueOf(const QList<MetadataRow> &rows, const char *key)
{
    const QString title = localizedString(QString::fromLatin1(key));
    for (const MetadataRow &row : rows) {
        if (row.title == title)
            return row.value;
    }
    return QStringLiteral("<absent>");
}

struct CoordinateCase {
    const char *name;
    double degrees;
    double limit;
    const char *expected;
};

class CoordinateTextTest : public ::testing::TestWithParam<CoordinateCase>
{
};

TEST_P(CoordinateTextTest, GivesDegreesMinutesSecondsOrPlaceholder)
{
    const CoordinateCase &c = GetParam();
    EXPECT_EQ(MetadataRows::coordinateStringFromDegrees(QStringLiteral("N"), c.degrees, c.limit),
        QString::fromUtf8(c.expected));
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(Coordinates, CoordinateTextTest,
    ::testing::Values(CoordinateCase { "sydney", 33.8688, 90, "33°52'7\"N" },
        CoordinateCase { "negativeDropsSign", -33.8688, 90, "33°52'7\"N" },
        CoordinateCase { "halfDegreeSouth", -0.5, 90, "0°30'0\"N" },
        CoordinateCase { "zero", 0.0, 90, "---" }, CoordinateCase { "belowOneSecond", 0.0002, 90, "---" },
        CoordinateCase { "oneSecond", 0.0003, 90, "0°0'1\"N" },
        CoordinateCase { "longitudeEdge", -180.0, 180, "180°0'0\"N" },
        CoordinateCase { "latitudeOutOfRange", 91.0, 90, "---" },
        CoordinateCase { "notANumber", kNaN, 90, "---" }, CoordinateCase { "infinite", -kInf, 180, "---" },
        CoordinateCase { "huge", 1e300, 180, "---" }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(MetadataRowsTest, ValueTextsFollowTheirRules)
{
    EXPECT_EQ(MetadataRows::digitalZoomRatioText(QString()), "---");
    EXPECT_EQ(MetadataRows::digitalZoomRatioText(QStringLiteral("2")), "2.00");
    EXPECT_EQ(MetadataRows::digitalZoomRatioText(QStringLiteral("1.5x")), "1.50");
    EXPECT_EQ(MetadataRows::digitalZoomRatioText(QStringLiteral("none")), "0.00");
    EXPECT_EQ(MetadataRows::orientationText(0), "---");
    EXPECT_EQ(MetadataRows::orientationText(9), "--");
    EXPECT_EQ(MetadataRows::altitudeText(0), "0.00 m");
    EXPECT_EQ(MetadataRows::altitudeText(-12.345), "-12.35 m");
    EXPECT_EQ(MetadataRows::altitudeText(kNaN), "---");
    EXPECT_EQ(MetadataRows::altitudeText(std::nullopt), "---");
    EXPECT_EQ(MetadataRows::folderName(QStringLiteral("/home/a/Pictures/x.jpg")), "Pictures");
}

TEST(MetadataRowsTest, NoRecordGivesNoRows)
{
    EXPECT_TRUE(MetadataRows::fillMetaDataTable(nullptr, ScanSource::thisComputer).isEmpty());
}

TEST(MetadataRowsTest, PhotoWithFullExifShowsEveryRowInOrder)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("full.jpg"));
    ImageSource::initializeLibraries();
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    ASSERT_TRUE(image.save(file, "JPEG"));
    ASSERT_TRUE(ImageSourceFixtures::editMetadata(file, [](Exiv2::ExifData &exif) {
        exif["Exif.Image.Make"] = std::string("Maker");
        exif["Exif.Image.Model"] = std::string("Camera 2");
        exif["Exif.Image.Orientation"] = uint16_t(1);
        exif["Exif.Photo.DateTimeOriginal"] = std::string("2020:02:29 23:59:58");
        exif["Exif.Photo.ExposureMode"] = uint16_t(1);
        exif["Exif.GPSInfo.GPSLatitude"] = std::string("48/1 51/1 36/1");
        exif["Exif.GPSInfo.GPSLatitudeRef"] = std::string("N");
        exif["Exif.GPSInfo.GPSLongitude"] = std::string("2/1 21/1 0/1");
        exif["Exif.GPSInfo.GPSLongitudeRef"] = std::string("W");
        exif["Exif.GPSInfo.GPSAltitude"] = Exiv2::URational(355, 10);
    }));
    auto record = ImageFileInfo::initWithPathForFile(file, RecordSettings {});
    ASSERT_TRUE(record);
    const QList<MetadataRow> rows = MetadataRows::fillMetaDataTable(record.get(), ScanSource::thisComputer);
    ASSERT_EQ(rows.size(), 34);
    EXPECT_EQ(rows.first().title, localizedString(QStringLiteral("ID_FILE_NAME")));
    EXPECT_EQ(rows.first().value, "full.jpg");
    EXPECT_EQ(rows.last().title, localizedString(QStringLiteral("ID_GPS_LONGITUDE")));
    EXPECT_EQ(valueOf(rows, "ID_CAMERA_MAKER"), "Maker");
    EXPECT_EQ(valueOf(rows, "ID_CAMERA_MODEL"), "Camera 2");
    EXPECT_EQ(valueOf(rows, "ID_ORIENTATION"), "1 (Normal)");
    EXPECT_EQ(valueOf(rows, "ID_EXPOSURE_MODE"), "Manual exposure");
    EXPECT_EQ(valueOf(rows, "ID_IMAGE_SIZE"), "400 x 300");
    EXPECT_EQ(valueOf(rows, "ID_GPS_LATITUDE"), QString::fromUtf8("48°51'36\"N"));
    EXPECT_EQ(valueOf(rows, "ID_GPS_LONGITUDE"), QString::fromUtf8("2°21'0\"W"));
    EXPECT_EQ(valueOf(rows, "ID_GPS_ALTITUDE"), "35.50 m");
    EXPECT_NE(valueOf(rows, "ID_CAPTURE_DATE"), "<absent>");
    EXPECT_EQ(valueOf(rows, "ID_FOLDER_NAME"), QFileInfo(dir.path()).fileName());
    for (const MetadataRow &row : rows)
        EXPECT_FALSE(row.value.isEmpty());
    // The EXIF stays on the record, named after it, so the next refill reads nothing.
    EXPECT_EQ(record->exifInfo->fileName, "full.jpg");
}

TEST(MetadataRowsTest, UnreadableFileShowsPlaceholdersWithoutCaptureDate)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("broken.jpg"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(QByteArray(70000, 'x'));
    out.close();
    auto record = ImageFileInfo::initWithPathForFile(file, RecordSettings {});
    ASSERT_TRUE(record);
    const QList<MetadataRow> rows = MetadataRows::fillMetaDataTable(record.get(), ScanSource::thisComputer);
    ASSERT_EQ(rows.size(), 33);
    EXPECT_EQ(valueOf(rows, "ID_CAPTURE_DATE"), "<absent>");
    EXPECT_EQ(valueOf(rows, "ID_CAMERA_MAKER"), "---");
    EXPECT_EQ(valueOf(rows, "ID_ORIENTATION"), "---");
    EXPECT_EQ(valueOf(rows, "ID_GPS_ALTITUDE"), "---");
    EXPECT_EQ(valueOf(rows, "ID_IMAGE_SIZE"), "---");
    EXPECT_EQ(valueOf(rows, "ID_GPS_LATITUDE"), "---");
    EXPECT_EQ(valueOf(rows, "ID_FILE_NAME"), "broken.jpg");
}

TEST(MetadataRowsTest, BlankExifIsLoadedAgainAndDriveWordsStayAsStored)
{
    ImageFileInfo record;
    record.fileName = QStringLiteral("a.jpg");
    record.filePath = QStringLiteral("/nowhere/a.jpg");
    record.exifInfo = std::make_shared<ExifInfo>();
    record.exifInfo->fileName = QStringLiteral("blank");
    record.exifInfo->cameraMaker = QStringLiteral("stale");
    record.isExifInfoUpdated = true;
    MetadataRows::fillMetaDataTable(&record, ScanSource::thisComputer);
    ASSERT_TRUE(record.exifInfo);
    EXPECT_NE(record.exifInfo->cameraMaker, "stale");

    ExifInfo drive;
    drive.exposureMode = QStringLiteral("Auto bracket");
    drive.exposureProgram = QStringLiteral("2");
    const QList<MetadataRow> rows = MetadataRows::rowsFor(record, drive, ScanSource::googleDrive);
    EXPECT_EQ(valueOf(rows, "ID_EXPOSURE_MODE"), "Auto bracket");
    EXPECT_NE(valueOf(rows, "ID_EXPOSURE_PROGRAM"), "2");
    const QList<MetadataRow> local = MetadataRows::rowsFor(record, drive, ScanSource::thisComputer);
    EXPECT_EQ(valueOf(local, "ID_EXPOSURE_MODE"), "---");
}

// A photo that states none of its facts shows every one of them as absent, on every source.
TEST(MetadataRowsTest, AbsentExifShowsThePlaceholderOnEverySource)
{
    ImageFileInfo record;
    for (ScanSource source : { ScanSource::thisComputer, ScanSource::googleDrive, ScanSource::dropbox }) {
        const QList<MetadataRow> rows = MetadataRows::rowsFor(record, ExifInfo {}, source);
        for (qsizetype row = 6; row < rows.size(); ++row)
            EXPECT_EQ(rows[row].value, "---") << rows[row].title.value_or(QString()).toStdString();
    }
}

TEST(MetadataRowsTest, MissingValueBecomesPlaceholderAndMissingTitleStaysMissing)
{
    QList<MetadataRow> rows;
    MetadataRows::appendMetaDataRow(rows, std::nullopt, QString());
    MetadataRows::appendMetaDataRow(rows, QStringLiteral("T"), std::nullopt);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_FALSE(rows[0].title.has_value());
    EXPECT_EQ(rows[0].value, "---");
    EXPECT_EQ(rows[1].value, "---");
}

} // namespace
