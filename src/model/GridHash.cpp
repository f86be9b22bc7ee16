// Grid-mean hash and bit packing of fingerprints.
#include "model/GridHash.h"

#include <algorithm>

#include <QImage>

std::vector<uint8_t> GridHash::pixelValues(const QImage &image)
{
    const int width = image.width();
    const int height = image.height();
    std::vector<uint8_t> values;
    if (width <= 0 || height <= 0)
        return values;
    values.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
    if (image.format() == QImage::Format_Grayscale8) {
        for (int y = 0; y < height; ++y) {
            const uchar *row = image.constScanLine(y);
            values.insert(values.end(), row, row + width);
        }
        return values;
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < width; ++x)
            values.push_back(static_cast<uint8_t>((qRed(row[x]) + qGreen(row[x]) + qBlue(row[x])) / 3));
    }
    return values;
}

std::vector<uint8_t> GridHash::gridBits(const QImage &image, int rows, int columns, int n)
{
    const int width = image.width();
    const int height = image.height();
    if (n <= 0 || rows <= 0 || columns <= 0 || width / columns == 0 || height / rows == 0)
        return {};
    const int cellHeight = height / rows;
    const int cellWidth = width / columns;
    const std::vector<uint8_t> values = pixelValues(image);
    const size_t bitCount = static_cast<size_t>(n) * static_cast<size_t>(n);
    std::vector<uint8_t> bits(bitCount, 0);
    size_t k = 0;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            uint64_t sum = 0;
            for (int y = r * cellHeight; y < (r + 1) * cellHeight; ++y)
                for (int x = c * cellWidth; x < (c + 1) * cellWidth; ++x)
                    sum += values[static_cast<size_t>(y) * width + x];
            const uint64_t mean = sum / (static_cast<uint64_t>(cellHeight) * cellWidth);
            for (int y = r * cellHeight; y < (r + 1) * cellHeight; ++y) {
                for (int x = c * cellWidth; x < (c + 1) * cellWidth; ++x, ++k) {
                    if (k < bitCount)
                        bits[k] = values[static_cast<size_t>(y) * width + x] > mean ? 1 : 0;
                }
            }
        }
    }
    return bits;
}

std::vector<uint8_t> GridHash::wholeImageBits(const QImage &image, int n)
{
    if (n <= 0)
        return {};
    const std::vector<uint8_t> values = pixelValues(image);
    if (values.empty())
        return {};
    uint64_t sum = 0;
    for (uint8_t v : values)
        sum += v;
    const uint64_t mean = sum / values.size();
    std::vector<uint8_t> bits(static_cast<size_t>(n) * static_cast<size_t>(n), 0);
    const size_t used = std::min(bits.size(), values.size());
    for (size_t k = 0; k < used; ++k)
        bits[k] = values[k] > mean ? 1 : 0;
    return bits;
}

std::vector<uint8_t> GridHash::pack(std::span<const uint8_t> bits, int n)
{
    if (n <= 0)
        return {};
    const size_t bitCount = static_cast<size_t>(n) * static_cast<size_t>(n);
    std::vector<uint8_t> bytes((bitCount + 7) / 8, 0);
    const size_t used = std::min(bitCount, bits.size());
    for (size_t k = 0; k < used; ++k) {
        if (bits[k])
            bytes[k / 8] |= static_cast<uint8_t>(0x80u >> (k % 8));
    }
    return bytes;
}
