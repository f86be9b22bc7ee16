// Making photo records for every source, their EXIF loading and their fingerprint.
#include "model/ImageFileInfo.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include <QFileInfo>

#include "app/CommonFunc.h"
#include "model/DuplicatesGroup.h"
#include "model/ExifInfo.h"
#include "model/FingerprintTurns.h"
#include "model/FingerprintWords.h"
#include "model/GDFoldersList.h"
#include "model/GridHash.h"
#include "model/ImageProcessing.h"
#include "model/PhotosNode.h"
#include "platform/FileFacts.h"
#include "platform/ImageSource.h"

namespace
{

// Drive's number cut to its whole part; empty when Drive does not state it or states no number.
QString wholeNumberText(const std::optional<double> &value)
{
    if (!value || !std::isfinite(*value) || std::fabs(*value) >= 1e15)
        return {};
    return QString::number(qint64(std::trunc(*value)));
}

} // namespace

ImageFileInfo::ImageFileInfo() = default;
ImageFileInfo::~ImageFileInfo() = default;

std::shared_ptr<ImageFileInfo> ImageFileInfo::cacheCopy() const
{
    auto copy = std::make_shared<ImageFileInfo>();
    copy->filePath = filePath;
    copy->fileSize = fileSize;
    copy->modDate = modDate;
    copy->changeDate = changeDate;
    copy->exifInfo = exifInfo;
    copy->fileMd5 = fileMd5;
    copy->arrHashOfRotateFlipImages = arrHashOfRotateFlipImages;
    copy->isVideo = isVideo;
    copy->isHashUpdateReq = isHashUpdateReq;
    copy->resizeValue = resizeValue;
    copy->scanType = scanType;
    return copy;
}

void ImageFileInfo::commonInit(const RecordSettings &settings)
{
    arrHashOfRotateFlipImages.clear();
    isTrashed = false;
    isExifInfoUpdated = false;
    isiPhotoNode = false;
    isMark = false;
    blDoNotCompare = false;
    isLocked = false;
    isVideo = false;
    isHashUpdateReq = false;
    imgThumbnail = QImage();
    videoThumbnail = QImage();
    hash.clear();
    parent.reset();
    fileMd5.clear();
    resizeValue = settings.reSizeValue;
    scanType = settings.scanType;
    indexMeanParts = settings.indexMeanParts;
    turnsCompared = settings.turnsCompared;
}

bool ImageFileInfo::isBelowMinimumSize(std::uint64_t size, qint64 minimum)
{
    // A negative minimum would, compared unsigned, refuse every file; it means "no minimum".
    return minimum > 0 && size < static_cast<std::uint64_t>(minimum);
}

void ImageFileInfo::readFileAttributes()
{
    // One call to the file system for the size and all three dates.
    applyFileAttributes(FileFacts::attributes(filePath).value_or(FileAttributes()));
}

void ImageFileInfo::applyFileAttributes(const FileAttributes &facts)
{
    fileSize = static_cast<std::uint64_t>(std::max<qint64>(facts.size, 0));
    modDate = facts.modificationDate;
    changeDate = facts.changeDate;
    createDate = facts.creationDate;
    if (facts.identity.inode != 0) {
        fileIdentity = facts.identity;
        modificationNanoseconds = facts.modificationNanoseconds;
    }
}

std::shared_ptr<ImageFileInfo> ImageFileInfo::initWithPathForFile(
    const QString &path, const RecordSettings &settings)
{
    // One call to the file system for the size, all three dates and, mostly, the immutable flag.
    return initWithPathForFile(path, settings, FileFacts::attributes(path).value_or(FileAttributes()));
}

std::shared_ptr<ImageFileInfo> ImageFileInfo::initWithPathForFile(
    const QString &path, const RecordSettings &settings, const FileAttributes &attributes)
{
    auto record = std::make_shared<ImageFileInfo>();
    record->commonInit(settings);
    record->filePath = path;
    record->fileName = QFileInfo(path).fileName();
    record->applyFileAttributes(attributes);
    if (record->isBelowMinimumSize(settings.minimumAllowFileSize))
        return nullptr;
    // Opening the file to ask is left to file systems that do not report the flag with the rest.
    record->isLocked = attributes.immutable ? *attributes.immutable : CommonFunc::isFileLocked(path);
    record->filePathUrl = QUrl::fromLocalFile(path);
    return record;
}

std::shared_ptr<ImageFileInfo> ImageFileInfo::initWithPathForFileForGoogleDriveFolderList(
    const std::shared_ptr<GDFoldersList> &entry, const RecordSettings &settings)
{
    auto record = std::make_shared<ImageFileInfo>();
    record->commonInit(settings);
    record->dFolderList = entry;
    const std::shared_ptr<DriveFile> file = entry ? entry->driveFile() : nullptr;
    if (file) {
        record->filePath = file->thumbnailLink.value_or(QString());
        record->fileName = file->name.value_or(QString());
        // The full 64-bit size: files of 4 GiB and more must not wrap around, or unrelated files
        // would share a size bucket.
        record->fileSize = static_cast<std::uint64_t>(std::max<std::int64_t>(file->size.value_or(0), 0));
        record->modDate = file->modifiedTime;
        record->createDate = file->createdTime;
    }
    if (record->isBelowMinimumSize(settings.minimumAllowFileSize))
        return nullptr;
    if (file)
        record->fileMd5 = file->md5Checksum.value_or(QString());
    return record;
}

std::shared_ptr<ImageFileInfo> ImageFileInfo::initWithPhotosOriginalPath(const QString &path,
    const QString &thumbPath, const QString &originalFileName, std::uint64_t fileSize, const QString &uuid,
    const QString &modelId, const QString &uuIDRKversion, const QString &libraryPath,
    const RecordSettings &settings)
{
    auto record = std::make_shared<ImageFileInfo>();
    record->commonInit(settings);
    record->libraryPath = libraryPath;
    record->isPhotosNode = true;
    record->photosInfo = std::make_shared<PhotosNode>();
    record->photosInfo->initWithPhotosOriginalPathWithPath(
        path, thumbPath, originalFileName, fileSize, uuid, modelId, uuIDRKversion, libraryPath);
    record->filePath = path;
    record->fileName = originalFileName;
    record->fileSize = fileSize;
    if (record->isBelowMinimumSize(settings.minimumAllowFileSize))
        return nullptr;
    record->readFileAttributes();
    record->filePathUrl = QUrl::fromLocalFile(path);
    return record;
}

void ImageFileInfo::updateExifInfo()
{
    updateExifInfo(nullptr);
}

void ImageFileInfo::updateExifInfo(const ImageSource *opened)
{
    if (!isExifInfoUpdated) {
        if (scanType == ScanSource::googleDrive) {
            setupExif_forGoogleDrive();
        } else {
            const QString source = scanType == ScanSource::dropbox ? localThumbPath : filePath;
            // A Dropbox file without its local copy is tried again on the next call.
            if (scanType == ScanSource::dropbox && source.isEmpty())
                return;
            auto info = std::make_shared<ExifInfo>();
            if (opened)
                info->initWithImageSource(*opened);
            else
                info->initWithFileWithPath(source);
            takeExifInfo(std::move(info));
            return;
        }
        isExifInfoUpdated = true;
    }
    const qint64 width = exifInfo ? exifInfo->pixelWidth : 0;
    blDoNotCompare = width < resizeValue;
}

void ImageFileInfo::updateExifInfo(const ExifInfo &sameBytes)
{
    if (isExifInfoUpdated)
        return updateExifInfo();
    auto info = std::make_shared<ExifInfo>(sameBytes);
    info->fileModified.reset();
    takeExifInfo(std::move(info));
}

void ImageFileInfo::takeExifInfo(std::shared_ptr<ExifInfo> info)
{
    if (modDate.isValid())
        info->fileModified = modDate;
    exifInfo = std::move(info);
    isExifInfoUpdated = true;
    updateExifInfo();
}

void ImageFileInfo::setupExif_forGoogleDrive()
{
    auto info = std::make_shared<ExifInfo>();
    const std::shared_ptr<DriveFile> file = dFolderList ? dFolderList->driveFile() : nullptr;
    if (file && file->imageMediaMetadata) {
        const DriveFile::ImageMediaMetadata &meta = *file->imageMediaMetadata;
        info->cameraMaker = meta.cameraMake.value_or(QString());
        info->cameraModel = meta.cameraModel.value_or(QString());
        info->colorSpace = meta.colorSpace.value_or(QString());
        info->cameraLensModel = meta.lens.value_or(QString());
        info->sensingMethod = meta.sensor.value_or(QString());
        info->exposureMode = meta.exposureMode.value_or(QString());
        info->meteringMode = meta.meteringMode.value_or(QString());
        // A value Drive does not state stays empty, so it shows as absent rather than as a zero.
        info->exposureBias = wholeNumberText(meta.exposureBias);
        info->folcalLength = wholeNumberText(meta.focalLength);
        info->isoSpeedRating = meta.isoSpeed ? QString::number(*meta.isoSpeed) : QString();
        info->exposure = meta.exposureTime ? QString::asprintf("%.2f", *meta.exposureTime) : QString();
        info->flashFired = meta.flashUsed.value_or(false);
        info->pixelHeight = meta.height.value_or(0);
        info->pixelWidth = meta.width.value_or(0);
        if (meta.location) {
            info->gpsLatitude = meta.location->latitude.value_or(0.0);
            info->gpsLongitude = meta.location->longitude.value_or(0.0);
            info->gpsAltitude = meta.location->altitude;
        }
    }
    info->imageSize = QStringLiteral("%1 x %2").arg(info->pixelWidth).arg(info->pixelHeight);
    exifInfo = std::move(info);
}

void ImageFileInfo::computeFileHash()
{
    const bool cloud = isCloudSource(scanType);
    const QString picture = cloud ? localThumbPath : filePath;
    // One opening of the file serves both its properties and its thumbnail, so its header is
    // parsed once. Drive records take their properties from the listing instead.
    std::unique_ptr<ImageSource> source;
    if (!picture.isEmpty() && arrHashOfRotateFlipImages.isEmpty())
        source = std::make_unique<ImageSource>(picture);
    updateExifInfo(scanType == ScanSource::googleDrive ? nullptr : source.get());
    if (blDoNotCompare || !source)
        return;
    const ImageProcessing::LabelledImage thumbnail = ImageProcessing::resizeImage(*source, resizeValue);
    if (thumbnail.isNull())
        return;
    const QImage grey = ImageProcessing::convertOriginalImageToBWImageWithOriginalImage(thumbnail);
    if (grey.isNull())
        return;
    switch (indexMeanParts) {
    case 0:
        updateImageHash(grey);
        break;
    case 1:
        updateImageHash(grey, 2, 2);
        break;
    case 2:
        updateImageHash(grey, 3, 3);
        break;
    case 3:
        updateImageHash(grey, 3, 4);
        break;
    case 4:
        // Without turns to compare, the first variant is all the record keeps: the others are
        // rebuilt from it, bit for bit, when the cache stores them.
        if (!turnsCompared && grey.width() == resizeValue && grey.height() == resizeValue
            && FingerprintTurns::forSide(resizeValue)) {
            updateImageHashForRotateImages(
                { grey }, FingerprintTurns::kGridRows, FingerprintTurns::kGridColumns);
            arrHashOfRotateFlipImages.leaveOut(FingerprintTurns::kVariants - 1, true);
        } else {
            updateImageHashForRotateImages(FingerprintTurns::variantPictures(grey),
                FingerprintTurns::kGridRows, FingerprintTurns::kGridColumns);
        }
        break;
    default:
        break;
    }
}

void ImageFileInfo::addHashInarrHashOfRotateFlipImages(const QByteArray &block)
{
    arrHashOfRotateFlipImages.appendStoredForm(QByteArrayView(block), resizeValue);
}

void ImageFileInfo::updateImageHashForRotateImages(const QList<QImage> &images, int rows, int columns)
{
    // All or nothing: a list missing one variant would shift the indexes the comparison relies on.
    std::vector<std::vector<uint8_t>> packed;
    packed.reserve(images.size());
    for (const QImage &image : images) {
        const std::vector<uint8_t> bits = GridHash::gridBits(image, rows, columns, resizeValue);
        if (bits.empty())
            return;
        packed.push_back(convertBitArrayToByteArrayForRotateImages(bits));
    }
    if (!packed.empty())
        arrHashOfRotateFlipImages.reserve(packed.size(), packed.front().size());
    for (const std::vector<uint8_t> &variant : packed)
        arrHashOfRotateFlipImages.append(variant);
}

void ImageFileInfo::updateImageHash(const QImage &image, int rows, int columns)
{
    const std::vector<uint8_t> bits = GridHash::gridBits(image, rows, columns, resizeValue);
    if (!bits.empty())
        convertBitArrayToByteArray(bits);
}

void ImageFileInfo::updateImageHash(const QImage &image)
{
    const std::vector<uint8_t> bits = GridHash::wholeImageBits(image, resizeValue);
    if (!bits.empty())
        hash = QByteArray(reinterpret_cast<const char *>(bits.data()), static_cast<qsizetype>(bits.size()));
}

std::vector<uint8_t> ImageFileInfo::convertBitArrayToByteArrayForRotateImages(
    std::span<const uint8_t> bits) const
{
    return GridHash::pack(bits, resizeValue);
}

void ImageFileInfo::convertBitArrayToByteArray(std::span<const uint8_t> bits)
{
    const std::vector<uint8_t> packed = GridHash::pack(bits, resizeValue);
    hash = QByteArray(reinterpret_cast<const char *>(packed.data()), static_cast<qsizetype>(packed.size()));
}

std::vector<uint64_t> ImageFileInfo::convertByteArrayToLongArrayForRotateImages(
    std::span<const uint8_t> packed) const
{
    const size_t bytes = std::min(packed.size(), FingerprintVariants::wordsPerVariant(resizeValue) * 8);
    return FingerprintWords::wordView(packed.first(bytes));
}

int ImageFileInfo::numberOfSetBits(uint64_t word)
{
    return FingerprintWords::numberOfSetBits(word);
}
