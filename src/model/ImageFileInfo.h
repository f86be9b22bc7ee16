// One scanned file, photo or video, from any source: where it is, its size and dates, its EXIF
// data, its fingerprint or content digest, the result of the comparison and the state the results
// window gives it. Records are shared (std::shared_ptr) by the scan's list, the groups and the
// results window; the links to the group and to the best match do not own.
//
// Nothing here locks: a record is made on the scan thread, hashed by exactly one hashing job, and
// read after hashing has finished.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QList>
#include <QString>
#include <QUrl>

#include "app/GlobalObjects.h"
#include "model/FingerprintVariants.h"
#include "model/RecordSettings.h"
#include "platform/FileFacts.h"

class DuplicatesGroup;
class ExifInfo;
class GDFoldersList;
class PhotosNode;

class ImageSource;

class ImageFileInfo
{
public:
    // Record of a local file; null when the file is below the scan's minimum size.
    static std::shared_ptr<ImageFileInfo> initWithPathForFile(
        const QString &path, const RecordSettings &settings);
    // The same with what the folder walk already read of the file.
    static std::shared_ptr<ImageFileInfo> initWithPathForFile(
        const QString &path, const RecordSettings &settings, const FileAttributes &attributes);
    // Record of a Google Drive file; null when it is below the scan's minimum size.
    static std::shared_ptr<ImageFileInfo> initWithPathForFileForGoogleDriveFolderList(
        const std::shared_ptr<GDFoldersList> &entry, const RecordSettings &settings);
    // Record of a Photos library item; null when the given size is below the scan's minimum.
    static std::shared_ptr<ImageFileInfo> initWithPhotosOriginalPath(const QString &path,
        const QString &thumbPath, const QString &originalFileName, std::uint64_t fileSize,
        const QString &uuid, const QString &modelId, const QString &uuIDRKversion, const QString &libraryPath,
        const RecordSettings &settings);

    ImageFileInfo();
    ~ImageFileInfo();
    ImageFileInfo(const ImageFileInfo &) = delete;
    ImageFileInfo &operator=(const ImageFileInfo &) = delete;

    // The defaults shared by every record, and the scan's values it keeps; Dropbox records are
    // made with the plain constructor followed by this.
    void commonInit(const RecordSettings &settings);

    // Loads the EXIF data once (from the file, the local copy of a cloud file, or the Drive
    // metadata) and marks the record not comparable when its pixel width is below resizeValue.
    void updateExifInfo();
    // The same, reading the file's properties from `opened` when it is the file to read.
    void updateExifInfo(const ImageSource *opened);
    // The same from the EXIF data read from another file with the same bytes and suffix: only the
    // file's own dates differ.
    void updateExifInfo(const ExifInfo &sameBytes);
    // Computes the fingerprint in the record's layout (indexMeanParts) unless the record already has one
    // or is not comparable. A file that cannot be read leaves no fingerprint; a cloud record is read
    // from its local copy (localThumbPath), which the scan fetches first.
    void computeFileHash();
    // A record of its own with what the cache writes of this one (path, size, dates, EXIF record,
    // fingerprint, digest, flags), for a write that may end after the scan has moved on.
    std::shared_ptr<ImageFileInfo> cacheCopy() const;
    // Smaller than `minimum` bytes (zero or less: no minimum).
    bool isBelowMinimumSize(qint64 minimum) const { return isBelowMinimumSize(fileSize, minimum); }
    static bool isBelowMinimumSize(std::uint64_t size, qint64 minimum);

    // Splits a cached fingerprint block into variants of (N*N + 7) / 8 bytes (N = resizeValue) and
    // appends them; a trailing remainder shorter than a variant is ignored.
    void addHashInarrHashOfRotateFlipImages(const QByteArray &block);

    // Fingerprint helpers; N is resizeValue.
    void updateImageHashForRotateImages(const QList<QImage> &images, int rows, int columns);
    void updateImageHash(const QImage &image, int rows, int columns);
    void updateImageHash(const QImage &image);
    std::vector<uint8_t> convertBitArrayToByteArrayForRotateImages(std::span<const uint8_t> bits) const;
    void convertBitArrayToByteArray(std::span<const uint8_t> bits);
    std::vector<uint64_t> convertByteArrayToLongArrayForRotateImages(std::span<const uint8_t> packed) const;
    static int numberOfSetBits(uint64_t word);

    // Path of the file. Google Drive: first the thumbnail link, later the path inside the Drive.
    // Dropbox: "Dropbox" followed by the server path.
    QString filePath;
    QDateTime modDate;
    // Inode change time of a local file (none for cloud records): a file rewritten with its old
    // size and modification time restored still has a new one.
    QDateTime changeDate;
    // Device and inode of a local file when it was scanned (none for cloud and library records):
    // the removal tells by them that a path still leads to the file scanned.
    std::optional<FileIdentity> fileIdentity;
    // The modification time of a local file, in nanoseconds since 1970, as scanned (none for cloud
    // and library records): what a removal checks, at its full precision, before and after a move.
    std::optional<qint64> modificationNanoseconds;
    QDateTime createDate;
    QString fileName;
    std::uint64_t fileSize = 0;
    bool isMark = false;
    // Single hash of layouts 0 to 3; empty when none (cached fingerprints go to the variants).
    QByteArray hash;
    float match = 0.0f;
    // The member of its group it matched best, and the group; neither owns.
    std::weak_ptr<ImageFileInfo> matchesWithNode;
    std::weak_ptr<DuplicatesGroup> parent;
    std::shared_ptr<ExifInfo> exifInfo;
    bool isExifInfoUpdated = false;
    QImage imgThumbnail;
    // Nothing fills it; kept for the results window's video branch.
    QImage videoThumbnail;
    bool isiPhotoNode = false;
    bool isPhotosNode = false;
    std::shared_ptr<PhotosNode> photosInfo;
    // Too small to compare by fingerprint: pixel width below resizeValue.
    bool blDoNotCompare = false;
    bool isLocked = false;
    QString libraryPath;
    // MD5 hex, or the cloud provider's content hash or checksum; empty when none.
    QString fileMd5;
    bool isVideo = false;
    // The cached row of this path no longer matches the file.
    bool isHashUpdateReq = false;
    std::int32_t exifIDFrmDB = 0;
    // N, the side of the fingerprint bitmap, taken from the scan's settings when the record is made.
    std::int32_t resizeValue = 0;
    // Where the record comes from and the layout of its fingerprint, both from the scan that made it.
    ScanSource scanType = ScanSource::thisComputer;
    int indexMeanParts = 0;
    // From the scan: it compares turned or mirrored variants, so the record keeps all eight.
    bool turnsCompared = true;
    bool isTrashed = false;
    std::shared_ptr<GDFoldersList> dFolderList;
    // Local copy of a cloud file, used for EXIF, fingerprint and preview.
    QString localThumbPath;
    // The scan asked for the local copy and did not get it whole: the record is never grouped,
    // so never marked or removed on the strength of a broken transfer.
    bool isCopyNotFetched = false;
    QString folderPath;
    // Variants 0..7: the image, its rotations by -90/-180/-270, the mirrored image and its
    // rotations. Word views are built as variants arrive.
    FingerprintVariants arrHashOfRotateFlipImages;
    QString actualFilePathOnServer;
    QUrl filePathUrl;
    // Dropbox: the file's identifier and the revision it was listed at (deletion checks it).
    QString id;
    QString rev;

    // Keeps `info`, read from the file, with the file's modification date as the record's EXIF data.
    void takeExifInfo(std::shared_ptr<ExifInfo> info);

private:
    void setupExif_forGoogleDrive();
    void readFileAttributes();
    void applyFileAttributes(const FileAttributes &facts);
};
