// Separable exact area averaging on floating-point premultiplied colours.
#include "platform/AreaAverage.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{

constexpr int kChannels = 4;

// How source sample `index` spreads over the output samples of one axis.
struct Share {
    int first = 0; // output sample that gets `firstWeight` of it
    float firstWeight = 0; // the rest goes to first + 1
};

std::vector<Share> sharesFor(int from, int to)
{
    const double scale = double(to) / double(from);
    std::vector<Share> shares(static_cast<size_t>(from));
    for (int i = 0; i < from; ++i) {
        const double start = i * scale;
        const double end = (i + 1) * scale;
        const int first = std::min(int(std::floor(start)), to - 1);
        const double boundary = first + 1.0;
        Share &share = shares[size_t(i)];
        share.first = first;
        share.firstWeight = end <= boundary || first == to - 1 ? 1.0f : float((boundary - start) / scale);
    }
    return shares;
}

void addPixel(float *sum, QRgb pixel, float weight)
{
    sum[0] += weight * float(qRed(pixel));
    sum[1] += weight * float(qGreen(pixel));
    sum[2] += weight * float(qBlue(pixel));
    sum[3] += weight * float(qAlpha(pixel));
}

void addRow(float *to, const float *from, int count, float weight)
{
    for (int i = 0; i < count; ++i)
        to[i] += weight * from[i];
}

int channel(float value)
{
    return std::clamp(int(std::lround(value)), 0, 255);
}

} // namespace

QImage AreaAverage::reduced(const QImage &image, const QSize &target)
{
    if (image.isNull() || target.isEmpty() || target.width() > image.width()
        || target.height() > image.height())
        return {};
    const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const std::vector<Share> across = sharesFor(source.width(), target.width());
    const std::vector<Share> down = sharesFor(source.height(), target.height());
    const int rowFloats = target.width() * kChannels;
    std::vector<float> sums(size_t(rowFloats) * size_t(target.height()), 0.0f);
    std::vector<float> row(static_cast<size_t>(rowFloats));
    for (int y = 0; y < source.height(); ++y) {
        std::fill(row.begin(), row.end(), 0.0f);
        const auto *line = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const Share &share = across[size_t(x)];
            float *out = &row[size_t(share.first) * kChannels];
            addPixel(out, line[x], share.firstWeight);
            if (share.firstWeight < 1.0f)
                addPixel(out + kChannels, line[x], 1.0f - share.firstWeight);
        }
        const Share &share = down[size_t(y)];
        float *out = &sums[size_t(share.first) * size_t(rowFloats)];
        addRow(out, row.data(), rowFloats, share.firstWeight);
        if (share.firstWeight < 1.0f)
            addRow(out + rowFloats, row.data(), rowFloats, 1.0f - share.firstWeight);
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
