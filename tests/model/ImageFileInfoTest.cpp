// Photo records of every source: the minimum-size refusal, the fields each initialiser fills, the
// EXIF loading and the fingerprint computed from a real file.
#include <memory>

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "model/ExifInfo.h"
#include "model/GDFoldersList.h"
#include "model/ImageFileInfo.h"
#include "model/PhotosNode.h"
#include "support/TestFiles.h"

namespace
{

class ImageFileInfoTest : public ::testing::Test
{
protected:
    // N = 64, no minimum size, this computer, eight variants.
    RecordSettings settings { 64, 0, ScanSource::thisComputer, 4 };

    QString writeBytes(const QString &name, int size)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(TestFiles::write(path, QByteArray(size, 'x')));
        return path;
    }

    // A PNG with an uneven pattern, so its fingerprint is not all zero.
    QString writeImage(const QString &name, int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y, qRgb((x * 7 + y) % 256, (x * y) % 256, (y * 5) % 256));
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, "PNG"));
        return path;
    }

    QTemporaryDir dir;
};

std::shared_ptr<GDFoldersList> driveEntry(std::int64_t size)
{
    auto entry = std::make_shared<GDFoldersList>();
    auto file = std::make_shared<DriveFile>();
    file->thumbnailLink = QStringLiteral("https://example.invalid/thumb=s220");
    file->name = QStringLiteral("beach.jpg");
    file->size = size;
    file->md5Checksum = QStringLiteral("0123456789abcdef0123456789abcdef");
    file->modifiedTime = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
    file->createdTime = QDateTime::fromSecsSinceEpoch(1600000000, Qt::UTC);
    entry->setDriveFile(file);
    return entry;
}

TEST_F(ImageFileInfoTest, MinimumSizeIsInclusive)
{
    const QString path = writeBytes(QStringLiteral("a.jpg"), 100);
    settings.minimumAllowFileSize = 100;
    const auto record = ImageFileInfo::initWithPathForFile(path, settings);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->fileSize, 100u);
    EXPECT_EQ(record->fileName, QStringLiteral("a.jpg"));
    EXPECT_EQ(record->filePathUrl.toLocalFile(), path);
    EXPECT_TRUE(record->modDate.isValid());
    EXPECT_TRUE(record->createDate.isValid());
    EXPECT_LE(record->createDate, record->modDate);
    EXPECT_EQ(record->resizeValue, 64);
    EXPECT_FALSE(record->isLocked);
    settings.minimumAllowFileSize = 101;
    EXPECT_FALSE(ImageFileInfo::initWithPathForFile(path, settings));
}

// A copy that kept an old modification time is as old as that time: the creation date is the
// earlier of birth and modification time, which the capture-time fall-back compares.
TEST_F(ImageFileInfoTest, CreationDateIsNoLaterThanModification)
{
    const QString path = writeBytes(QStringLiteral("copy.jpg"), 10);
    const QDateTime past = QDateTime::fromSecsSinceEpoch(1500000000, Qt::UTC);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(past, QFileDevice::FileModificationTime));
    }
    const auto record = ImageFileInfo::initWithPathForFile(path, settings);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->modDate.toSecsSinceEpoch(), 1500000000);
    EXPECT_EQ(record->createDate.toSecsSinceEpoch(), 1500000000);
}

TEST_F(ImageFileInfoTest, PhotosItemKeepsLibraryDataAndReadsTheFile)
{
    const QString path = writeBytes(QStringLiteral("IMG_1.heic"), 300);
    const auto record = ImageFileInfo::initWithPhotosOriginalPath(path, QStringLiteral("/thumb.jpg"),
        QStringLiteral("IMG_1.HEIC"), 999, QStringLiteral("U1"), QStringLiteral("M1"), QStringLiteral("V1"),
        QStringLiteral("/lib.photoslibrary"), settings);
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->isPhotosNode);
    EXPECT_FALSE(record->isiPhotoNode);
    EXPECT_EQ(record->fileName, QStringLiteral("IMG_1.HEIC"));
    EXPECT_EQ(record->fileSize, 300u); // the file's own size replaces the library's
    EXPECT_EQ(record->libraryPath, QStringLiteral("/lib.photoslibrary"));
    ASSERT_TRUE(record->photosInfo);
    EXPECT_EQ(record->photosInfo->oPath, path);
    EXPECT_FALSE(record->photosInfo->tPath.has_value());
    EXPECT_EQ(record->photosInfo->fileSize, 999u);
    EXPECT_EQ(record->photosInfo->uuIDRkVersion, QStringLiteral("V1"));
    EXPECT_EQ(record->photosInfo->isMovedToTrashAlbum, false);

    settings.minimumAllowFileSize = 1000; // judged by the library's size, before the file
    EXPECT_FALSE(ImageFileInfo::initWithPhotosOriginalPath(path, {}, {}, 999, {}, {}, {}, {}, settings));
}

TEST_F(ImageFileInfoTest, GoogleDriveRecordKeepsTheFullSize)
{
    const std::int64_t fiveGiB = 5LL << 30;
    const auto record
        = ImageFileInfo::initWithPathForFileForGoogleDriveFolderList(driveEntry(fiveGiB), settings);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->fileSize, static_cast<std::uint64_t>(fiveGiB));
    EXPECT_EQ(record->filePath, QStringLiteral("https://example.invalid/thumb=s220"));
    EXPECT_EQ(record->fileName, QStringLiteral("beach.jpg"));
    EXPECT_EQ(record->fileMd5, QStringLiteral("0123456789abcdef0123456789abcdef"));
    EXPECT_EQ(record->modDate.toSecsSinceEpoch(), 1700000000);
    EXPECT_EQ(record->createDate.toSecsSinceEpoch(), 1600000000);
    settings.minimumAllowFileSize = 2000;
    EXPECT_FALSE(ImageFileInfo::initWithPathForFileForGoogleDriveFolderList(driveEntry(1999), settings));
}

TEST_F(ImageFileInfoTest, GoogleDriveExifComesFromTheDriveMetadata)
{
    settings.scanType = ScanSource::googleDrive;
    const auto entry = driveEntry(5000);
    DriveFile::ImageMediaMetadata meta;
    meta.cameraMake = QStringLiteral("Maker");
    meta.width = 40;
    meta.height = 30;
    meta.focalLength = 4.9;
    meta.location = DriveFile::Location { 48.1, 11.5, 520.0 };
    entry->driveFile()->imageMediaMetadata = meta;
    const auto record = ImageFileInfo::initWithPathForFileForGoogleDriveFolderList(entry, settings);
    ASSERT_TRUE(record);
    record->updateExifInfo();
    ASSERT_TRUE(record->exifInfo);
    EXPECT_TRUE(record->isExifInfoUpdated);
    EXPECT_EQ(record->exifInfo->cameraMaker, QStringLiteral("Maker"));
    EXPECT_EQ(record->exifInfo->imageSize, QStringLiteral("40 x 30"));
    EXPECT_EQ(record->exifInfo->folcalLength, QStringLiteral("4"));
    // Values Drive does not state stay empty, so the table shows them as absent.
    EXPECT_TRUE(record->exifInfo->isoSpeedRating.isEmpty());
    EXPECT_TRUE(record->exifInfo->exposure.isEmpty());
    EXPECT_EQ(record->exifInfo->gpsAltitude, std::optional<double>(520.0));
    EXPECT_DOUBLE_EQ(record->exifInfo->gpsLatitude, 48.1);
    EXPECT_TRUE(record->blDoNotCompare); // 40 pixels wide, N = 64
}

TEST_F(ImageFileInfoTest, DropboxRecordWithoutLocalCopyIsTriedAgain)
{
    settings.scanType = ScanSource::dropbox;
    ImageFileInfo record;
    record.commonInit(settings);
    record.updateExifInfo();
    EXPECT_FALSE(record.isExifInfoUpdated);
    EXPECT_FALSE(record.exifInfo);
    record.localThumbPath = writeImage(QStringLiteral("copy.png"), 100, 80);
    record.computeFileHash();
    EXPECT_TRUE(record.isExifInfoUpdated);
    EXPECT_EQ(record.arrHashOfRotateFlipImages.count(), 8);
}

TEST_F(ImageFileInfoTest, LocalPhotoGetsEightVariants)
{
    const auto record
        = ImageFileInfo::initWithPathForFile(writeImage(QStringLiteral("p.png"), 200, 150), settings);
    ASSERT_TRUE(record);
    record->computeFileHash();
    ASSERT_TRUE(record->exifInfo);
    EXPECT_EQ(record->exifInfo->pixelWidth, 200);
    EXPECT_FALSE(record->blDoNotCompare);
    ASSERT_EQ(record->arrHashOfRotateFlipImages.count(), 8);
    EXPECT_EQ(record->arrHashOfRotateFlipImages.storedForm().size(), 8 * 512);
    EXPECT_NE(record->arrHashOfRotateFlipImages.storedForm(), QByteArray(8 * 512, '\0'));
    const QByteArray first = record->arrHashOfRotateFlipImages.storedForm();
    record->computeFileHash(); // a fingerprint is made once
    EXPECT_EQ(record->arrHashOfRotateFlipImages.storedForm(), first);
}

// A scan without turns keeps the first variant; the cache still gets all eight, bit for bit.
TEST_F(ImageFileInfoTest, WithoutTurnsThePhotoKeepsOneVariantAndStoresTheSameEight)
{
    const QString path = writeImage(QStringLiteral("t.png"), 200, 150);
    const auto all = ImageFileInfo::initWithPathForFile(path, settings);
    settings.turnsCompared = false;
    const auto first = ImageFileInfo::initWithPathForFile(path, settings);
    ASSERT_TRUE(all && first);
    all->computeFileHash();
    first->computeFileHash();
    EXPECT_EQ(first->arrHashOfRotateFlipImages.count(), 1);
    EXPECT_EQ(first->arrHashOfRotateFlipImages.fullCount(), 8);
    EXPECT_EQ(first->arrHashOfRotateFlipImages.storedForm(), all->arrHashOfRotateFlipImages.storedForm());
}

TEST_F(ImageFileInfoTest, ImageNarrowerThanBitmapIsNotComparable)
{
    const auto record
        = ImageFileInfo::initWithPathForFile(writeImage(QStringLiteral("small.png"), 63, 200), settings);
    ASSERT_TRUE(record);
    record->computeFileHash();
    EXPECT_TRUE(record->blDoNotCompare);
    EXPECT_TRUE(record->arrHashOfRotateFlipImages.isEmpty());
}

struct LayoutCase {
    int layout;
    int hashBytes;
    int variants;
};
class LayoutTest : public ImageFileInfoTest, public ::testing::WithParamInterface<LayoutCase>
{
};

TEST_P(LayoutTest, LayoutSettingDecidesWhatIsStored)
{
    settings.indexMeanParts = GetParam().layout;
    const auto record
        = ImageFileInfo::initWithPathForFile(writeImage(QStringLiteral("l.png"), 120, 90), settings);
    ASSERT_TRUE(record);
    record->computeFileHash();
    EXPECT_EQ(record->hash.size(), GetParam().hashBytes);
    EXPECT_EQ(record->arrHashOfRotateFlipImages.count(), GetParam().variants);
}
INSTANTIATE_TEST_SUITE_P(Layouts, LayoutTest,
    ::testing::Values(LayoutCase { 0, 64 * 64, 0 }, LayoutCase { 1, 512, 0 }, LayoutCase { 2, 512, 0 },
        LayoutCase { 3, 512, 0 }, LayoutCase { 4, 0, 8 }, LayoutCase { 5, 0, 0 }, LayoutCase { -1, 0, 0 }));

} // namespace

// A copy takes the EXIF data read from its original (a copy of its own) with its own dates.
TEST_F(ImageFileInfoTest, ExifOfTheSameBytesKeepsTheCopysOwnDate)
{
    const QString path = writeImage(QStringLiteral("o.png"), 50, 40);
    const QString copyPath = dir.filePath(QStringLiteral("c.png"));
    ASSERT_TRUE(QFile::copy(path, copyPath));
    QFile copyFile(copyPath);
    ASSERT_TRUE(copyFile.open(QIODevice::ReadWrite));
    ASSERT_TRUE(copyFile.setFileTime(
        QDateTime::fromSecsSinceEpoch(1000000000, Qt::UTC), QFileDevice::FileModificationTime));
    copyFile.close();
    const auto original = ImageFileInfo::initWithPathForFile(path, settings);
    const auto copy = ImageFileInfo::initWithPathForFile(copyPath, settings);
    original->updateExifInfo();
    copy->updateExifInfo(*original->exifInfo);
    ASSERT_TRUE(copy->exifInfo);
    EXPECT_NE(copy->exifInfo, original->exifInfo);
    EXPECT_EQ(copy->exifInfo->imageSize, QStringLiteral("50 x 40"));
    EXPECT_EQ(copy->exifInfo->fileModified, copy->modDate);
    EXPECT_NE(copy->exifInfo->fileModified, original->exifInfo->fileModified);
    EXPECT_TRUE(copy->isExifInfoUpdated);
    EXPECT_TRUE(copy->blDoNotCompare); // 50 pixels wide, N = 64
}
