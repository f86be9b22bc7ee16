// Separable exact area averaging: whole source pixels are summed as integers, the split pixels at
// the edges of each output pixel are weighed by the part of them it covers. The picture is read
// once, row by row, and only the few output rows it is adding to are held.
#include "platform/AreaAverage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/ImageSourceGeometry.h"
#include "platform/PictureBuffers.h"

namespace
{

// What one output sample covers on one axis: whole source samples [begin, end) and at most one
// split sample on each side.
struct Span {
    int begin = 0;
    int end = 0;
    int left = -1; // split sample before `begin`, or -1
    float leftWeight = 0;
    int right = -1; // split sample at `end`, or -1
    float rightWeight = 0;
};

// Output sample i covers [i * from / to, (i + 1) * from / to) of the source: the same boundaries
// counted from either end, so a mirrored picture reduces to the mirrored reduction.
std::vector<Span> spansFor(int from, int to)
{
    std::vector<Span> spans(static_cast<size_t>(to));
    const double step = double(from) / double(to);
    for (int i = 0; i < to; ++i) {
        const double low = i * step;
        const double high = i + 1 == to ? double(from) : (i + 1) * step;
        Span &span = spans[size_t(i)];
        span.begin = int(std::ceil(low - 1e-9));
        span.end = std::max(span.begin, int(std::floor(high + 1e-9)));
        if (span.begin - low > 1e-9) {
            span.left = span.begin - 1;
            span.leftWeight = float(span.begin - low);
        }
        if (high - span.end > 1e-9 && span.end < from) {
            span.right = span.end;
            span.rightWeight = float(high - span.end);
        }
    }
    return spans;
}

// The four channels of a pixel side by side, in the order of its bytes in memory; every lane goes
// through the same single-precision operations one channel at a time would, so the sums are the
// same to the bit while four channels are summed at once.
using Counts = std::int32_t __attribute__((vector_size(16)));
using Lanes = float __attribute__((vector_size(16)));
using PixelBytes = std::uint8_t __attribute__((vector_size(4)));

Counts countsOf(QRgb pixel)
{
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    return Counts(_mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(pixel)), zero), zero));
#else
    PixelBytes bytes;
    std::memcpy(&bytes, &pixel, sizeof bytes);
    return __builtin_convertvector(bytes, Counts);
#endif
}

Lanes lanesOf(QRgb pixel)
{
    return __builtin_convertvector(countsOf(pixel), Lanes);
}

// Where the channels of a QRgb lie among the lanes.
int laneOf(int shift)
{
    return Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? shift / 8 : 3 - shift / 8;
}
const int kRed = laneOf(16);
const int kGreen = laneOf(8);
const int kBlue = laneOf(0);
const int kAlpha = laneOf(24);

// One source row reduced across: `out` gets the summed channels of every output pixel. Whole
// pixels are summed as integers, then the split pixel on the left and the one on the right are
// added with the part of them the output pixel covers.
void reduceRow(const QRgb *line, const std::vector<Span> &spans, Lanes *out)
{
    for (const Span &span : spans) {
        Counts whole = {};
        for (int x = span.begin; x < span.end; ++x)
            whole += countsOf(line[x]);
        Lanes sum = __builtin_convertvector(whole, Lanes);
        if (span.left >= 0)
            sum += span.leftWeight * lanesOf(line[span.left]);
        if (span.right >= 0)
            sum += span.rightWeight * lanesOf(line[span.right]);
        *out++ = sum;
    }
}

// Where a source row goes: at most two output rows, each with the part of the row it covers.
struct Share {
    int row = -1;
    float weight = 0;
};

struct Shares {
    std::vector<std::array<Share, 2>> ofSourceRow;
    // The last source row each output row covers.
    std::vector<int> lastSourceRow;
};

Shares sharesOfSourceRows(const std::vector<Span> &spans, int sourceRows)
{
    Shares shares { std::vector<std::array<Share, 2>>(static_cast<size_t>(sourceRows)),
        std::vector<int>(spans.size(), 0) };
    const auto give = [&](int sourceRow, int outputRow, float weight) {
        auto &pair = shares.ofSourceRow[size_t(sourceRow)];
        (pair[0].row < 0 ? pair[0] : pair[1]) = Share { outputRow, weight };
        shares.lastSourceRow[size_t(outputRow)] = sourceRow;
    };
    for (int y = 0; y < int(spans.size()); ++y) {
        const Span &span = spans[size_t(y)];
        if (span.left >= 0)
            give(span.left, y, span.leftWeight);
        for (int sourceRow = span.begin; sourceRow < span.end; ++sourceRow)
            give(sourceRow, y, 1.0f);
        if (span.right >= 0)
            give(span.right, y, span.rightWeight);
    }
    return shares;
}

void addRow(Lanes *to, const Lanes *from, int count, float weight)
{
    for (int i = 0; i < count; ++i)
        to[i] += weight * from[i];
}

// Every lane of `value` rounded to a channel value: clamped to 0..255, plus a half, truncated.
Counts channels(Lanes value)
{
    const Lanes zero = {};
    const Lanes top = zero + 255.0f;
    const Lanes clamped = value < zero ? zero : (top < value ? top : value);
    return __builtin_convertvector(clamped + 0.5f, Counts);
}

// The finished sums of one output row as pixels: each is the mean over the same area.
void writeRow(const Lanes *sums, int width, float area, bool alpha, QRgb *line)
{
    for (int x = 0; x < width; ++x) {
        Counts c = channels(sums[x] / area);
        const int a = alpha ? c[kAlpha] : 255;
        c = c < a ? c : a;
        line[x] = qRgba(c[kRed], c[kGreen], c[kBlue], a);
    }
}

} // namespace

QImage AreaAverage::reduced(const QImage &image, const QSize &target)
{
    if (image.isNull())
        return {};
    // An opaque RGB32 pixel is its own premultiplied form.
    const bool premultiplied
        = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32_Premultiplied;
    const QImage source = premultiplied ? image : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return reduced(source.size(), image.hasAlphaChannel(), target,
        [&source](int y) { return reinterpret_cast<const QRgb *>(source.constScanLine(y)); });
}

QImage AreaAverage::reduced(const QSize &size, bool alpha, const QSize &target, const RowReader &rowAt)
{
    if (size.isEmpty() || target.isEmpty() || target.width() > size.width()
        || target.height() > size.height())
        return {};
    const std::vector<Span> across = spansFor(size.width(), target.width());
    const Shares shares = sharesOfSourceRows(spansFor(size.height(), target.height()), size.height());
    const int width = target.width();
    // A source row reaches at most the output row it starts in and the next, so three rows of sums
    // are open at a time; a row's sums are written out after its last source row.
    constexpr int kOpenRows = 3;
    std::vector<Lanes> sums(size_t(width) * kOpenRows, Lanes {});
    std::vector<Lanes> row(static_cast<size_t>(width));
    const auto sumsOf = [&](int outputRow) { return &sums[size_t(outputRow % kOpenRows) * size_t(width)]; };
    // Every output pixel covers the same area of the picture.
    const float area = float(size.width()) * float(size.height()) / float(target.width() * target.height());
    QImage result
        = PictureBuffers::image(target, alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (result.isNull())
        return {};
    int written = 0;
    for (int y = 0; y < size.height() && written < target.height(); ++y) {
        reduceRow(rowAt(y), across, row.data());
        for (const Share &share : shares.ofSourceRow[size_t(y)]) {
            if (share.row >= 0)
                addRow(sumsOf(share.row), row.data(), width, share.weight);
        }
        for (; written < target.height() && shares.lastSourceRow[size_t(written)] <= y; ++written) {
            Lanes *finished = sumsOf(written);
            writeRow(finished, width, area, alpha, reinterpret_cast<QRgb *>(result.scanLine(written)));
            std::fill_n(finished, width, Lanes {});
        }
    }
    return result;
}

QImage AreaAverage::fittedOpaque(const QSize &size, int maxPixelSize, const RowReader &rowAt)
{
    const QSize target = ImageSourceGeometry::fittedSize(size, maxPixelSize);
    if (target.isEmpty() || target == size) {
        QImage whole(size, QImage::Format_RGB32);
        for (int y = 0; !whole.isNull() && y < whole.height(); ++y)
            std::copy_n(rowAt(y), whole.width(), reinterpret_cast<QRgb *>(whole.scanLine(y)));
        return whole;
    }
    // Opaque pixels are their own premultiplied form: reduced as such, then relabelled.
    return reduced(size, true, target, rowAt).convertToFormat(QImage::Format_RGB32);
}
