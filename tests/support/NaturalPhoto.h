// Generated pictures with the statistics of real photos, and the copies people make of them, for
// the thumbnail fidelity test and the scan measurements. Header-only, so the corpus tool can use it
// without the test main.
//
// A natural picture has detail at every scale, with power falling with frequency: here a fractal
// sum of smooth noise octaves (each half the size and about half the strength of the one before),
// tinted per region, with a few hard-edged shapes across it and light sensor grain. Pictures of
// different seeds share nothing but those statistics.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QTransform>

namespace NaturalPhoto
{

namespace detail
{

    // One octave: a (cells + 1)^2 grid of random values in [-1, 1], interpolated smoothly.
    class Octave
    {
    public:
        Octave(std::mt19937 &random, int cells)
            : m_cells(cells)
            , m_values(std::size_t((cells + 2) * (cells + 2)))
        {
            std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
            for (float &v : m_values)
                v = unit(random);
        }
        // u, v in [0, 1].
        float at(float u, float v) const
        {
            const float x = u * float(m_cells);
            const float y = v * float(m_cells);
            const int x0 = std::min(int(x), m_cells);
            const int y0 = std::min(int(y), m_cells);
            const float fx = smooth(x - float(x0));
            const float fy = smooth(y - float(y0));
            const int stride = m_cells + 2;
            const float *row0 = &m_values[std::size_t(y0 * stride)];
            const float *row1 = row0 + stride;
            const float top = row0[x0] + (row0[x0 + 1] - row0[x0]) * fx;
            const float bottom = row1[x0] + (row1[x0 + 1] - row1[x0]) * fx;
            return top + (bottom - top) * fy;
        }

    private:
        static float smooth(float t) { return t * t * (3.0f - 2.0f * t); }
        int m_cells;
        std::vector<float> m_values;
    };

    inline int channel(float value)
    {
        return std::clamp(int(std::lround(value)), 0, 255);
    }

} // namespace detail

inline QImage make(int seed, int width, int height);

// The picture of `seed` as JPEG file content.
inline QByteArray jpegBytes(int seed, int width, int height, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    make(seed, width, height).save(&buffer, "JPG", quality);
    return bytes;
}

// A width x height picture for `seed`.
inline QImage make(int seed, int width, int height)
{
    std::mt19937 random(std::uint32_t(seed) * 2654435761u + 17u);
    std::vector<detail::Octave> light;
    for (int cells = 2; cells <= 256; cells *= 2)
        light.emplace_back(random, cells);
    const detail::Octave hue(random, 3);
    const detail::Octave saturation(random, 4);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    const float base = 90.0f + 80.0f * unit(random);
    const float contrast = 60.0f + 40.0f * unit(random);

    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const float v = (float(y) + 0.5f) / float(height);
        for (int x = 0; x < width; ++x) {
            const float u = (float(x) + 0.5f) / float(width);
            float l = 0.0f;
            float weight = 1.0f;
            for (const detail::Octave &octave : light) {
                l += weight * octave.at(u, v);
                weight *= 0.55f;
            }
            const float luma = base + contrast * l;
            const float tint = 40.0f * hue.at(u, v);
            const float chroma = 0.6f + 0.4f * saturation.at(u, v);
            line[x] = qRgb(detail::channel(luma + tint * chroma), detail::channel(luma - 0.3f * tint),
                detail::channel(luma - tint * chroma));
        }
    }

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    const int shapes = 3 + int(random() % 5);
    for (int i = 0; i < shapes; ++i) {
        const QPointF centre(unit(random) * float(width), unit(random) * float(height));
        const qreal radius = (0.05 + 0.2 * unit(random)) * std::min(width, height);
        QLinearGradient fill(centre - QPointF(radius, radius), centre + QPointF(radius, radius));
        fill.setColorAt(
            0, QColor::fromHsv(int(random() % 360), int(random() % 200), int(40 + random() % 200)));
        fill.setColorAt(
            1, QColor::fromHsv(int(random() % 360), int(random() % 200), int(40 + random() % 200)));
        painter.setBrush(fill);
        QPainterPath path;
        const int corners = 3 + int(random() % 4);
        for (int k = 0; k < corners; ++k) {
            const double angle = 2.0 * M_PI * (k + 0.5 * unit(random)) / corners;
            const double reach = radius * (0.6 + 0.4 * unit(random));
            const QPointF corner = centre + QPointF(std::cos(angle) * reach, std::sin(angle) * reach);
            if (k == 0)
                path.moveTo(corner);
            else
                path.lineTo(corner);
        }
        if (i % 2 == 0)
            painter.drawEllipse(centre, radius, radius * (0.5 + 0.5 * unit(random)));
        else
            painter.drawPath(path);
    }
    painter.end();

    std::uniform_int_distribution<int> grain(-3, 3);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int d = grain(random);
            const QRgb p = line[x];
            line[x] = qRgb(std::clamp(qRed(p) + d, 0, 255), std::clamp(qGreen(p) + d, 0, 255),
                std::clamp(qBlue(p) + d, 0, 255));
        }
    }
    return image;
}

// The copies a photo collection collects: each a whole new file of the same picture.
enum class Copy { Resized50, Quality60, Png, Turned90, Turned180, Turned270, Mirrored };
inline constexpr Copy kCopies[] = { Copy::Resized50, Copy::Quality60, Copy::Png, Copy::Turned90,
    Copy::Turned180, Copy::Turned270, Copy::Mirrored };

inline const char *copyName(Copy copy)
{
    switch (copy) {
    case Copy::Resized50:
        return "resized50";
    case Copy::Quality60:
        return "quality60";
    case Copy::Png:
        return "png";
    case Copy::Turned90:
        return "turned90";
    case Copy::Turned180:
        return "turned180";
    case Copy::Turned270:
        return "turned270";
    case Copy::Mirrored:
        return "mirrored";
    }
    return "";
}

inline const char *copySuffix(Copy copy)
{
    return copy == Copy::Png ? "png" : "jpg";
}

// Quality of the original and of every JPEG copy except the re-encoded one.
inline constexpr int kCameraQuality = 92;

// Writes the copy of `picture` to `path` (ending in copySuffix); false on failure.
inline bool writeCopy(const QImage &picture, Copy copy, const QString &path)
{
    switch (copy) {
    case Copy::Resized50:
        return picture
            .scaled(
                picture.width() / 2, picture.height() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .save(path, "JPEG", kCameraQuality);
    case Copy::Quality60:
        return picture.save(path, "JPEG", 60);
    case Copy::Png:
        return picture.save(path, "PNG");
    case Copy::Turned90:
        return picture.transformed(QTransform().rotate(90)).save(path, "JPEG", kCameraQuality);
    case Copy::Turned180:
        return picture.transformed(QTransform().rotate(180)).save(path, "JPEG", kCameraQuality);
    case Copy::Turned270:
        return picture.transformed(QTransform().rotate(270)).save(path, "JPEG", kCameraQuality);
    case Copy::Mirrored:
        return picture.mirrored(true, false).save(path, "JPEG", kCameraQuality);
    }
    return false;
}

} // namespace NaturalPhoto
