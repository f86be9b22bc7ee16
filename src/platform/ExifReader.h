// Exiv2 behind one door: the metadata sections of a file, its EXIF orientation and its embedded
// preview images. Exiv2 throws on damaged files; every call here catches and answers "nothing".
#pragma once

#include <memory>

#include <QImage>
#include <QSize>
#include <QString>
#include <QVariantMap>

namespace Exiv2
{
class Image;
}

class ExifReader
{
public:
    // Once per process, before worker threads use Exiv2.
    static void initialize();

    // Reads `readPath` when given (an already opened file's /proc path), `path` otherwise; log
    // lines always name `path`.
    explicit ExifReader(const QString &path, const QString &readPath = QString());
    ~ExifReader();
    ExifReader(const ExifReader &) = delete;
    ExifReader &operator=(const ExifReader &) = delete;

    bool isOpen() const { return image_ != nullptr; }
    // EXIF orientation 1..8; 1 when absent or out of range.
    int orientation() const;
    // "{Exif}", "{TIFF}", "{GPS}", "{IPTC}", "{ExifAux}" (those present) and the top-level
    // "DPIWidth", "DPIHeight", "Orientation" and "ProfileName" where the file has them. The
    // resolution comes from EXIF, else from the JFIF or PNG density; "{Exif}" "Rating" from EXIF,
    // else from XMP.
    QVariantMap properties() const;
    // The smallest embedded preview usable for a thumbnail of `minPixelSize` of a picture stored at
    // `imageSize`, decoded to fit `maxPixelSize` but not oriented; null when there is none.
    QImage embeddedThumbnail(const QSize &imageSize, int minPixelSize, int maxPixelSize) const;

private:
    QString path_;
    QString readPath_;
    std::unique_ptr<Exiv2::Image> image_;
};
