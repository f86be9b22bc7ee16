// Separable exact area averaging: whole source pixels are summed as integers, the split pixels at
// the edges of each output pixel are weighed by the part of them it covers.
#include "platform/AreaAverage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace
{

constexpr int kChannels = 4;

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

void addWeighted(float *sum, QRgb pixel, float weight)
{
    sum[0] += weight * float(qRed(pixel));
    sum[1] += weight * float(qGreen(pixel));
    sum[2] += weight * float(qBlue(pixel));
    sum[3] += weight * float(qAlpha(pixel));
}

// One source row reduced across: `out` gets the summed colours of every output pixel.
void reduceRow(const QRgb *line, const std::vector<Span> &spans, float *out)
{
    for (const Span &span : spans) {
        unsigned r = 0, g = 0, b = 0, a = 0;
        for (int x = span.begin; x < span.end; ++x) {
            const QRgb p = line[x];
            r += qRed(p);
            g += qGreen(p);
            b += qBlue(p);
            a += qAlpha(p);
        }
        float sum[kChannels] = { float(r), float(g), float(b), float(a) };
        if (span.left >= 0)
            addWeighted(sum, line[span.left], span.leftWeight);
        if (span.right >= 0)
            addWeighted(sum, line[span.right], span.rightWeight);
        out = std::copy(sum, sum + kChannels, out);
    }
}

// Where a source row goes: at most two output rows, each with the part of the row it covers.
struct Share {
    int row = -1;
    float weight = 0;
};

std::vector<std::array<Share, 2>> sharesOfSourceRows(const std::vector<Span> &spans, int sourceRows)
{
    std::vector<std::array<Share, 2>> shares(static_cast<size_t>(sourceRows));
    const auto give = [&](int sourceRow, int outputRow, float weight) {
        auto &pair = shares[size_t(sourceRow)];
        (pair[0].row < 0 ? pair[0] : pair[1]) = Share { outputRow, weight };
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

void addRow(float *to, const float *from, int count, float weight)
{
    for (int i = 0; i < count; ++i)
        to[i] += weight * from[i];
}

int channel(float value)
{
    return int(std::clamp(value, 0.0f, 255.0f) + 0.5f);
}

} // namespace

QImage AreaAverage::reduced(const QImage &image, const QSize &target)
{
    if (image.isNull() || target.isEmpty() || target.width() > image.width()
        || target.height() > image.height())
        return {};
    // An opaque RGB32 pixel is its own premultiplied form.
    const QImage source = image.format() == QImage::Format_RGB32
        ? image
        : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const std::vector<Span> across = spansFor(source.width(), target.width());
    const std::vector<Span> down = spansFor(source.height(), target.height());
    const int rowFloats = target.width() * kChannels;
    std::vector<float> sums(size_t(rowFloats) * size_t(target.height()), 0.0f);
    std::vector<float> row(static_cast<size_t>(rowFloats));
    // Every source row is reduced across once and added to the output rows that cover it.
    const std::vector<std::array<Share, 2>> shares = sharesOfSourceRows(down, source.height());
    for (int y = 0; y < source.height(); ++y) {
        reduceRow(reinterpret_cast<const QRgb *>(source.constScanLine(y)), across, row.data());
        for (const Share &share : shares[size_t(y)]) {
            if (share.row >= 0)
                addRow(&sums[size_t(share.row) * size_t(rowFloats)], row.data(), rowFloats, share.weight);
        }
    }
    // Every output pixel covers the same area of the picture.
    const float area
        = float(source.width()) * float(source.height()) / float(target.width() * target.height());
    const bool alpha = image.hasAlphaChannel();
    QImage result(target, alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    for (int y = 0; y < target.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        const float *sum = &sums[size_t(y) * size_t(rowFloats)];
        for (int x = 0; x < target.width(); ++x, sum += kChannels) {
            const int a = alpha ? channel(sum[3] / area) : 255;
            line[x] = qRgba(std::min(channel(sum[0] / area), a), std::min(channel(sum[1] / area), a),
                std::min(channel(sum[2] / area), a), a);
        }
    }
    return result;
}
