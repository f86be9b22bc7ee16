// A picture of random colours, for tests of resampling that must hold for any content.
// Header-only.
#pragma once

#include <random>

#include <QImage>

namespace NoisePicture
{

inline QImage make(const QSize &size, unsigned seed)
{
    std::mt19937 random(seed);
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(int(random() % 256), int(random() % 256), int(random() % 256)));
    return image;
}

} // namespace NoisePicture
