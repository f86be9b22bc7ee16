// The grid-mean hash of a small grey image: every pixel becomes one bit telling whether it is
// brighter than the mean of its grid cell. Its bit order and packing are a stored format (the
// cache keeps the packed bytes), so they must not change.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

class QImage;

class GridHash
{
public:
    // Pixel values floor((r + g + b) / 3), row by row from the top, each row left to right.
    static std::vector<uint8_t> pixelValues(const QImage &image);

    // n*n bits (one byte each, 0 or 1) of a grid of `rows` x `columns` cells. Cells are visited
    // row-major, and inside a cell its pixels row by row; bit k belongs to the k-th pixel so
    // visited. Rows and columns past the last whole cell belong to no cell; bits past the
    // covered pixels stay 0. Empty when a cell would be smaller than one pixel.
    static std::vector<uint8_t> gridBits(const QImage &image, int rows, int columns, int n);
    // The pixel (y * width + x) each bit of that order is taken from, for the first `bits` bits;
    // -1 past the covered pixels. The bits of one cell are consecutive. Empty when a cell would be
    // smaller than one pixel.
    static std::vector<int> bitPixels(int width, int height, int rows, int columns, size_t bits);

    // n*n bytes, 0 or 1: pixel k (in row order) brighter than the whole image's mean.
    static std::vector<uint8_t> wholeImageBits(const QImage &image, int n);

    // Packs n*n bits: bit k goes to byte k / 8 at bit 7 - (k mod 8), the first bit of each group
    // of eight being the most significant.
    static std::vector<uint8_t> pack(std::span<const uint8_t> bits, int n);
};
