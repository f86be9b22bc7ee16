// The pixel density a JPEG file's JFIF header or a PNG file's pHYs chunk declares, for files whose
// EXIF carries no resolution.
#pragma once

#include <optional>

#include <QSizeF>
#include <QString>

class QIODevice;

class ImageDensity
{
public:
    // Horizontal and vertical dots per inch; empty when the file declares no density (or only an
    // aspect ratio) or is neither a JPEG nor a PNG file.
    static std::optional<QSizeF> read(const QString &path);
    static std::optional<QSizeF> read(QIODevice &file);

private:
    static std::optional<QSizeF> fromJfif(QIODevice &file);
    static std::optional<QSizeF> fromPng(QIODevice &file);
};
