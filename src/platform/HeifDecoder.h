// libheif behind one door: the size of a HEIC/HEIF/AVIF picture, its embedded thumbnail and a
// decode scaled to a thumbnail size. libheif applies the picture's rotation and mirroring itself,
// so everything here is already upright.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include "platform/DecodeBudget.h"
#include "platform/HeifCodedSize.h"

struct heif_context;
struct heif_image_handle;

class HeifDecoder
{
public:
    // True when the first bytes of a file announce a HEIF container libheif can read.
    static bool isHeifHeader(const QByteArray &head);

    // Reads `readPath` when given (an already opened file's /proc path), `path` otherwise; log
    // lines always name `path`.
    explicit HeifDecoder(const QString &path, const QString &readPath = QString());
    ~HeifDecoder();
    HeifDecoder(const HeifDecoder &) = delete;
    HeifDecoder &operator=(const HeifDecoder &) = delete;

    bool isValid() const { return !size_.isEmpty(); }
    // Upright size of the primary picture.
    QSize size() const { return size_; }
    // The smallest embedded thumbnail usable at `minPixelSize`, scaled to fit `maxPixelSize`; null
    // when none is.
    QImage embeddedThumbnail(int minPixelSize, int maxPixelSize) const;
    // The primary picture decoded and scaled to fit `maxPixelSize`; null on failure.
    QImage decodeScaled(int maxPixelSize) const;

private:
    // Decodes `handle` (the primary image, or the thumbnail `thumbnailId`) scaled to fit
    // `maxPixelSize` once the shared decode budget holds what its decoder will allocate.
    QImage decodeWithinBudget(
        const heif_image_handle *handle, std::uint32_t thumbnailId, int maxPixelSize) const;
    // What a decode makes of the decoder's planes: the picture reduced row by row as it is
    // converted, libheif's red, green and blue planes, or its whole RGBA picture.
    enum class Made { Rows, Planes, Whole };
    DecodeBudget::Reservation reserve(qint64 pixels, const HeifCodedSize::Coded &coded, Made made) const;
    static QImage decodeHandle(const heif_image_handle *handle, int maxPixelSize);
    // True when `handle` may be decoded to its colour planes alone (see decodePlanes).
    static bool decodesToPlanes(const heif_image_handle *handle, bool derived);
    // Nothing when the planes libheif made are not the opaque 8-bit ones its RGBA picture is made of.
    static std::optional<QImage> decodePlanes(const heif_image_handle *handle, int maxPixelSize);
    // The same picture reduced while it is converted, for an item libheif does not crop, turn or
    // mirror; nothing when the rows' decoder declines it.
    static std::optional<QImage> decodeRows(const heif_image_handle *handle, int maxPixelSize);

    QString path_;
    QString readPath_;
    heif_context *context_ = nullptr;
    heif_image_handle *primary_ = nullptr;
    QSize size_;
};
