// Separable windowed-sinc resampling on floating-point colours.
#include "model/ThumbnailResampler.h"

#include <algorithm>
#include <cmath>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "platform/PictureBuffers.h"

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

// The weights for one pair of sizes, kept for the next pictures of a thread: photos of a library
// mostly share a few sizes, and the weights cost a sine per tap.
const std::vector<Taps> &cachedTapsFor(int from, int to)
{
    struct Entry {
        int from;
        int to;
        std::vector<Taps> taps;
    };
    constexpr size_t kKept = 8;
    thread_local std::vector<Entry> kept;
    for (const Entry &entry : kept) {
        if (entry.from == from && entry.to == to)
            return entry.taps;
    }
    if (kept.size() == kKept)
        kept.erase(kept.begin());
    kept.push_back({ from, to, tapsFor(from, to) });
    return kept.back().taps;
}

// Three colour planes, premultiplied, so transparent pixels weigh nothing and end up black. Their
// memory is the thread's own, kept for the next picture; uninitialised until filled or cleared.
struct Planes {
    int width = 0;
    int height = 0;
    PictureBuffers::Lease memory; // r, g, b interleaved, row by row

    Planes(int planeWidth, int planeHeight)
        : width(planeWidth)
        , height(planeHeight)
        , memory(PictureBuffers::lease(samples() * sizeof(float)))
    {
    }
    size_t samples() const { return size_t(width) * size_t(height) * 3; }
    bool isNull() const { return !memory.data(); }
    float *values() const { return static_cast<float *>(memory.data()); }
    void clear() { std::fill_n(values(), samples(), 0.0f); }
    float *at(int x, int y) { return values() + (size_t(y) * size_t(width) + size_t(x)) * 3; }
    const float *at(int x, int y) const { return values() + (size_t(y) * size_t(width) + size_t(x)) * 3; }
};

// The picture's colour planes with its columns as rows: column x of the picture is row x here, so
// the pass across the picture's rows walks whole rows of memory. An opaque or premultiplied picture
// is read as it is; others are converted first.
Planes columnsOf(const QImage &image)
{
    const bool premultiplied
        = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32_Premultiplied;
    const QImage source = premultiplied ? image : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = source.width();
    const int height = source.height();
    Planes planes(height, width);
    if (planes.isNull())
        return planes;
    for (int y = 0; y < height; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        float *p = planes.at(y, 0);
        for (int x = 0; x < width; ++x, p += size_t(height) * 3) {
            p[0] = float(qRed(line[x]));
            p[1] = float(qGreen(line[x]));
            p[2] = float(qBlue(line[x]));
        }
    }
    return planes;
}

Planes transposed(const Planes &in)
{
    Planes out(in.height, in.width);
    if (in.isNull() || out.isNull())
        return Planes(0, 0);
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < in.width; ++x)
            std::copy_n(in.at(x, y), 3, out.at(y, x));
    }
    return out;
}

// Every sample is the sum of its taps taken in order (w0*p0 + w1*p1 + ...) in single precision,
// whichever pass computes it.
#if defined(__x86_64__)
// Eight samples at a time where the processor can; the same products and sums as below.
__attribute__((target("avx"))) void accumulateWide(float *row, const float *source, float weight, int count)
{
    int i = 0;
    const __m256 w = _mm256_set1_ps(weight);
    for (; i + 8 <= count; i += 8)
        _mm256_storeu_ps(row + i, _mm256_add_ps(_mm256_loadu_ps(row + i), _mm256_mul_ps(w, _mm256_loadu_ps(source + i))));
    for (; i < count; ++i)
        row[i] += weight * source[i];
}

const bool kHasAvx = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") != 0;
}();
#endif

// Four samples at a time: a product and a sum per sample, as the plain loop does, so the result
// is the same to the bit.
void accumulate(float *row, const float *source, float weight, int count)
{
#if defined(__x86_64__)
    if (kHasAvx) {
        accumulateWide(row, source, weight, count);
        return;
    }
#endif
    int i = 0;
#if defined(__SSE2__)
    const __m128 w = _mm_set1_ps(weight);
    for (; i + 4 <= count; i += 4)
        _mm_storeu_ps(row + i, _mm_add_ps(_mm_loadu_ps(row + i), _mm_mul_ps(w, _mm_loadu_ps(source + i))));
#endif
    for (; i < count; ++i)
        row[i] += weight * source[i];
}

// Resamples the picture's rows to `width` samples, given the picture with its columns as rows;
// returns the result the same way round (`width` rows).
Planes resampledRows(const Planes &columns, int width)
{
    const std::vector<Taps> &taps = cachedTapsFor(columns.height, width);
    Planes out(columns.width, width);
    if (columns.isNull() || out.isNull())
        return Planes(0, 0);
    out.clear();
    for (int x = 0; x < width; ++x) {
        const Taps &t = taps[size_t(x)];
        for (size_t k = 0; k < t.weights.size(); ++k)
            accumulate(out.at(0, x), columns.at(0, t.first + int(k)), t.weights[k], columns.width * 3);
    }
    return out;
}

Planes resampledColumns(const Planes &in, int height)
{
    const std::vector<Taps> &taps = cachedTapsFor(in.height, height);
    Planes out(in.width, height);
    if (in.isNull() || out.isNull())
        return Planes(0, 0);
    out.clear();
    for (int y = 0; y < height; ++y) {
        const Taps &t = taps[size_t(y)];
        float *row = out.at(0, y);
        for (size_t k = 0; k < t.weights.size(); ++k)
            accumulate(row, in.at(0, t.first + int(k)), t.weights[k], in.width * 3);
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
    const Planes planes
        = resampledColumns(transposed(resampledRows(columnsOf(image), target.width())), target.height());
    if (planes.isNull())
        return {};
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
