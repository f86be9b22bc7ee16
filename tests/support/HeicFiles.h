// HEIC files the tests make with libheif's own encoder.
#pragma once

#include <QImage>
#include <QString>

namespace HeicFiles
{

struct HeifOptions {
    int orientation = 1;
    QImage thumbnail; // encoded as the file's embedded thumbnail when set
    int thumbnailBox = 0;
    int exifOrientation = 0; // also stored in an EXIF block when set
    // The colour the stream states (matrix, range) when set; the encoder's own otherwise.
    int matrixCoefficients = -1;
    bool fullRange = true;
    const char *chroma = "420";
};

// True when this libheif can encode HEVC, so HEIC files can be made here at all.
bool canWrite();

// Writes `stored` as HEIC; false when this libheif has no HEVC encoder or the file cannot be written.
bool writeHeic(const QString &path, const QImage &stored, const HeifOptions &options = {});

} // namespace HeicFiles
