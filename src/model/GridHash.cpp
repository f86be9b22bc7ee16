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

std::vector<int> GridHash::bitPixels(int width, int height, int rows, int columns, size_t bits)
{
    if (rows <= 0 || columns <= 0 || width / columns == 0 || height / rows == 0)
        return {};
    const int cellHeight = height / rows;
    const int cellWidth = width / columns;
    std::vector<int> pixels(bits, -1);
    size_t k = 0;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            for (int y = r * cellHeight; y < (r + 1) * cellHeight; ++y) {
                for (int x = c * cellWidth; x < (c + 1) * cellWidth && k < bits; ++x, ++k)
                    pixels[k] = y * width + x;
            }
        }
    }
    return pixels;
}

std::vector<uint8_t> GridHash::gridBits(const QImage &image, int rows, int columns, int n)
{
    if (n <= 0 || rows <= 0 || columns <= 0)
        return {};
    const size_t cell
        = static_cast<size_t>(image.height() / rows) * static_cast<size_t>(image.width() / columns);
    // Every covered pixel in bit order: the means take whole cells, also where bits end inside one.
    const std::vector<int> covered
        = bitPixels(image.width(), image.height(), rows, columns, cell * size_t(rows) * size_t(columns));
    if (covered.empty())
        return {};
    const std::vector<uint8_t> values = pixelValues(image);
    std::vector<uint8_t> bits(static_cast<size_t>(n) * static_cast<size_t>(n), 0);
    for (size_t first = 0; first < covered.size(); first += cell) {
        uint64_t sum = 0;
        for (size_t k = first; k < first + cell; ++k)
            sum += values[size_t(covered[k])];
        const uint64_t mean = sum / cell;
        for (size_t k = first; k < first + cell && k < bits.size(); ++k)
            bits[k] = values[size_t(covered[k])] > mean ? 1 : 0;
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
