// The rows of an 8-bit YCbCr picture as RGB, converted with the very arithmetic libheif 1.15 uses
// for its RGB planes (single-precision, chroma taken from the sample at or before each pixel), so
// that what is reduced from them is what libheif's picture reduces to, to the byte.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <QRgb>
#include <QSize>

class HeifYCbCrRows
{
public:
    struct Planes {
        QSize size; // of the luma plane
        const std::uint8_t *luma = nullptr;
        const std::uint8_t *cb = nullptr;
        const std::uint8_t *cr = nullptr;
        int lumaStride = 0;
        int cbStride = 0;
        int crStride = 0;
        int chromaShiftX = 1; // 1 for 4:2:0 and 4:2:2, 0 for 4:4:4
        int chromaShiftY = 1; // 1 for 4:2:0, 0 otherwise
    };
    // The colour description as libheif keeps it for the picture: the stream's, or its defaults.
    struct Colour {
        int matrixCoefficients = 2;
        int colourPrimaries = 2;
        bool fullRange = true;
    };

    // Nothing for a matrix libheif converts other than as a weighted sum (identity, YCgCo, or
    // one derived from the primaries).
    static std::optional<HeifYCbCrRows> of(const Planes &planes, const Colour &colour);

    // Row `y` in ARGB with opaque alpha, valid until the next call.
    const QRgb *row(int y);

private:
    struct Coefficients {
        float redFromCr;
        float greenFromCb;
        float greenFromCr;
        float blueFromCb;
    };
    HeifYCbCrRows(const Planes &planes, const Coefficients &coefficients, bool fullRange);

    Planes m_planes;
    Coefficients m_coefficients;
    bool m_fullRange;
    std::vector<QRgb> m_row;
};
