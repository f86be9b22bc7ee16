// Sensor-like grain for generated pictures, so they are as costly to encode and decode (and as
// large on disk) as real photos of the same size. Header-only, for the benchmarks and tools.
#pragma once

#include <random>

#include <QImage>

namespace PictureGrain {

// Moves every pixel's channels together by a random step in [-amplitude, amplitude].
inline void add(QImage &image, std::mt19937 &random, int amplitude)
{
    const unsigned steps = unsigned(2 * amplitude + 1);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int d = int(random() % steps) - amplitude;
            const QRgb p = line[x];
            line[x] = qRgb(
                qBound(0, qRed(p) + d, 255), qBound(0, qGreen(p) + d, 255), qBound(0, qBlue(p) + d, 255));
        }
    }
}

} // namespace PictureGrain
