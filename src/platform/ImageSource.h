// What a photo file holds, read without decoding more than needed: the pixel size from the
// decoder's header, the metadata sections (EXIF, TIFF, GPS, IPTC, lens) and an upright thumbnail.
// JPEG, PNG, TIFF, WebP, GIF and BMP go through QImageReader, HEIC/HEIF through libheif, camera raw
// through LibRaw. Never throws; a file that cannot be read answers "no image, no properties".
// One object is used by one thread at a time; different objects may be used in parallel.
#pragma once

#include <memory>

#include <QImage>
#include <QSize>
#include <QString>
#include <QVariantMap>

class ImageSource
{
public:
    // Keys of properties(), as the rest of the program reads them.
    static constexpr const char *kExifSection = "{Exif}";
    static constexpr const char *kTiffSection = "{TIFF}";
    static constexpr const char *kGpsSection = "{GPS}";
    static constexpr const char *kIptcSection = "{IPTC}";
    static constexpr const char *kLensSection = "{ExifAux}";

    struct ThumbnailOptions {
        int maxPixelSize = 0; // longer side at most this; must be positive
        bool applyOrientation = true; // turn the picture upright (EXIF orientation)
        bool createFromImageIfAbsent = true; // decode the image when no embedded one is usable
        // When above maxPixelSize: the picture is handed over with its longer side up to this, for
        // a caller that reduces it with its own filter. An embedded thumbnail still counts once its
        // long side reaches maxPixelSize.
        int detailPixelSize = 0;
    };

    // Prepares the metadata library for use from several threads; call once before workers start.
    // Further calls do nothing.
    static void initializeLibraries();

    explicit ImageSource(const QString &path);
    ~ImageSource();
    ImageSource(const ImageSource &) = delete;
    ImageSource &operator=(const ImageSource &) = delete;

    // True when a decoder recognised the file as an image with a non-empty size.
    bool isValid() const;
    // Pixel size as stored (before orientation), from the decoder's header; empty when invalid.
    QSize pixelSize() const;
    // EXIF orientation 1..8 that thumbnails apply (1 where the decoder already turns the picture).
    int orientation() const;

    // ImageIO-shaped dictionary: top-level "PixelWidth", "PixelHeight", "DPIWidth", "DPIHeight",
    // "ColorModel", "ProfileName", "Orientation", and the sections above as nested maps with typed
    // values (numbers as int/double, texts as QString, lists as QVariantList). GPS numbers are
    // magnitudes with their "LatitudeRef"/"LongitudeRef" beside them. Empty when invalid.
    QVariantMap properties() const;

    // Thumbnail: a valid embedded one (long side at least the size asked for, aspect within 1 %
    // of the image's), else a scaled decode; orientation applied once. Null on failure.
    // Never larger than the image, nor than the larger of maxPixelSize and detailPixelSize.
    QImage thumbnail(const ThumbnailOptions &options) const;
    QImage thumbnail(int maxPixelSize) const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
