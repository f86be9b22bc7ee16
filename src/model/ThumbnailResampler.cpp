// Separable windowed-sinc resampling on floating-point colours.
#include "model/ThumbnailResampler.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{

constexpr int kLobes = 3;

double sinc(double x)
{
    if (std::fabs(x) < 1e-9)
        return 1.0;
    const double px = M_PI * x;
    return std::sin(px) / px;
}

double lanczos(double x)
{
    return std::fabs(x) < kLobes ? sinc(x) * sinc(x / kLobes) : 0.0;
}

// Taps of one output sample: the first source index and the normalised weights from there on.
struct Taps {
    int first = 0;
    std::vector<float> weights;
};

// Weights for resampling `from` samples onto `to`, symmetric about the centre of the axis, so a
// mirrored input gives the mirrored output exactly.
std::vector<Taps> tapsFor(int from, int to)
{
    const double scale = double(to) / double(from);
    const double stretch = std::max(1.0, 1.0 / scale); // widen the kernel when reducing
    const double support = kLobes * stretch;
    std::vector<Taps> all(static_cast<size_t>(to));
    for (int i = 0; i < to; ++i) {
        const double centre = (i + 0.5) / scale - 0.5;
        const int first = int(std::floor(centre - support)) + 1;
        const int last = int(std::ceil(centre + support)) - 1;
        // Samples past the edges repeat the edge sample, so their weight goes to it.
        Taps &taps = all[size_t(i)];
        taps.first = std::clamp(first, 0, from - 1);
        const int end = std::clamp(last, 0, from - 1) + 1;
        std::vector<double> raw(static_cast<size_t>(end - taps.first), 0.0);
        double total = 0.0;
        for (int j = first; j <= last; ++j) {
            const double w = lanczos((j - centre) / stretch);
            raw[size_t(std::clamp(j, taps.first, end - 1) - taps.first)] += w;
            total += w;
        }
        for (double w : raw)
            taps.weights.push_back(float(w / total));
    }
    return all;
}

// Three colour planes, premultiplied, so transparent pixels weigh nothing and end up black.
struct Planes {
    int width = 0;
    int height = 0;
    std::vector<float> values; // r, g, b interleaved, row by row

    float *at(int x, int y) { return &values[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
    const float *at(int x, int y) const { return &values[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
};

Planes planesOf(const QImage &image)
{
    const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    Planes planes { source.width(), source.height(), {} };
    planes.values.resize(size_t(planes.width) * size_t(planes.height) * 3);
    for (int y = 0; y < planes.height; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        for (int x = 0; x < planes.width; ++x) {
            float *p = planes.at(x, y);
            p[0] = float(qRed(line[x]));
            p[1] = float(qGreen(line[x]));
            p[2] = float(qBlue(line[x]));
        }
    }
    return planes;
}

Planes resampledRows(const Planes &in, int width)
{
    const std::vector<Taps> taps = tapsFor(in.width, width);
    Planes out { width, in.height, std::vector<float>(size_t(width) * size_t(in.height) * 3) };
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Taps &t = taps[size_t(x)];
            float sum[3] = { 0, 0, 0 };
            for (size_t k = 0; k < t.weights.size(); ++k) {
                const float *p = in.at(t.first + int(k), y);
                for (int c = 0; c < 3; ++c)
                    sum[c] += t.weights[k] * p[c];
            }
            std::copy(sum, sum + 3, out.at(x, y));
        }
    }
    return out;
}

Planes resampledColumns(const Planes &in, int height)
{
    const std::vector<Taps> taps = tapsFor(in.height, height);
    Planes out { in.width, height, std::vector<float>(size_t(in.width) * size_t(height) * 3) };
    for (int y = 0; y < height; ++y) {
        const Taps &t = taps[size_t(y)];
        float *row = out.at(0, y);
        for (size_t k = 0; k < t.weights.size(); ++k) {
            const float *source = in.at(0, t.first + int(k));
            const float w = t.weights[k];
            for (int i = 0; i < in.width * 3; ++i)
                row[i] += w * source[i];
        }
    }
    return out;
}

int channel(float value)
{
    return int(std::clamp(value, 0.0f, 255.0f) + 0.5f);
}

} // namespace

QImage ThumbnailResampler::resampled(const QImage &image, const QSize &target)
{
    if (image.isNull() || target.isEmpty())
        return {};
    const Planes planes = resampledColumns(resampledRows(planesOf(image), target.width()), target.height());
    QImage result(target, QImage::Format_RGB32);
    for (int y = 0; y < target.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < target.width(); ++x) {
            const float *p = planes.at(x, y);
            line[x] = qRgb(channel(p[0]), channel(p[1]), channel(p[2]));
        }
    }
    return result;
}
