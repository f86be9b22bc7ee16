// Built without contracting a product and a sum into one fused step (see CMakeLists), so each sum
// rounds where libheif's does.
#include "platform/HeifYCbCrRows.h"

namespace
{

struct LumaWeights {
    float red = 0;
    float blue = 0;
};

// The luma weights of the matrices stated by number; none (both 0) for the rest.
LumaWeights weightsOf(int matrix)
{
    switch (matrix) {
    case 1:
        return { 0.2126f, 0.0722f };
    case 4:
        return { 0.30f, 0.11f };
    case 5:
    case 6:
        return { 0.299f, 0.114f };
    case 7:
        return { 0.212f, 0.087f };
    case 9:
    case 10:
        return { 0.2627f, 0.0593f };
    default:
        return {};
    }
}

std::uint8_t clipped(float value)
{
    const long rounded = static_cast<long>(value + 0.5f);
    return std::uint8_t(rounded < 0 ? 0 : rounded > 255 ? 255 : rounded);
}

} // namespace

std::optional<HeifYCbCrRows> HeifYCbCrRows::of(const Planes &planes, const Colour &colour)
{
    const int matrix = colour.matrixCoefficients;
    if (matrix == 0 || matrix == 8 || matrix == 12 || matrix == 13 || planes.size.isEmpty() || !planes.luma
        || !planes.cb || !planes.cr)
        return std::nullopt;
    const LumaWeights k = weightsOf(matrix);
    Coefficients c { 1.402f, -0.344136f, -0.714136f, 1.772f };
    if (k.red != 0 || k.blue != 0) {
        c.redFromCr = 2 * (-k.red + 1);
        c.greenFromCb = 2 * k.blue * (-k.blue + 1) / (k.blue + k.red - 1);
        c.greenFromCr = 2 * k.red * (-k.red + 1) / (k.blue + k.red - 1);
        c.blueFromCb = 2 * (-k.blue + 1);
    }
    return HeifYCbCrRows(planes, c, colour.fullRange);
}

HeifYCbCrRows::HeifYCbCrRows(const Planes &planes, const Coefficients &coefficients, bool fullRange)
    : m_planes(planes)
    , m_coefficients(coefficients)
    , m_fullRange(fullRange)
    , m_row(std::size_t(planes.size.width()))
{
}

const QRgb *HeifYCbCrRows::row(int y)
{
    const Planes &p = m_planes;
    const std::uint8_t *luma = p.luma + qsizetype(y) * p.lumaStride;
    const std::uint8_t *cb = p.cb + qsizetype(y >> p.chromaShiftY) * p.cbStride;
    const std::uint8_t *cr = p.cr + qsizetype(y >> p.chromaShiftY) * p.crStride;
    const Coefficients &c = m_coefficients;
    for (int x = 0; x < p.size.width(); ++x) {
        float yv = static_cast<float>(luma[x]);
        float u = static_cast<float>(cb[x >> p.chromaShiftX] - 128);
        float v = static_cast<float>(cr[x >> p.chromaShiftX] - 128);
        if (!m_fullRange) {
            yv = (yv - 16.0f) * 1.1689f;
            u = u * 1.1429f;
            v = v * 1.1429f;
        }
        m_row[std::size_t(x)] = qRgb(clipped(yv + c.redFromCr * v),
            clipped(yv + c.greenFromCb * u + c.greenFromCr * v), clipped(yv + c.blueFromCb * u));
    }
    return m_row.data();
}
