// Reorderings of a grid-mean fingerprint's bits into its turned and mirrored variants.
#include "model/FingerprintTurns.h"

#include <map>
#include <memory>
#include <mutex>

#include <QImage>

#include "model/GridHash.h"
#include "model/ImageProcessing.h"

namespace
{

// A square picture of side n holding the pixel numbers y * n + x: their low bytes, or their high.
QImage numberPicture(int n, int shift)
{
    QImage picture(n, n, QImage::Format_Grayscale8);
    for (int y = 0; y < n; ++y) {
        uchar *row = picture.scanLine(y);
        for (int x = 0; x < n; ++x)
            row[x] = uchar(((y * n + x) >> shift) & 0xff);
    }
    return picture;
}

} // namespace

const FingerprintTurns *FingerprintTurns::forSide(int n)
{
    static std::mutex mutex;
    static auto &sides = *new std::map<int, std::unique_ptr<FingerprintTurns>>;
    const std::lock_guard lock(mutex);
    auto found = sides.find(n);
    if (found == sides.end())
        found = sides.emplace(n, std::unique_ptr<FingerprintTurns>(new FingerprintTurns(n))).first;
    return found->second->isValid() ? found->second.get() : nullptr;
}

QList<QImage> FingerprintTurns::variantPictures(const QImage &picture)
{
    const QImage mirrored = ImageProcessing::getOrientatedFlipImage(picture, 0);
    return {
        picture,
        ImageProcessing::getOrientatedImage(picture, -90),
        ImageProcessing::getOrientatedImage(picture, -180),
        ImageProcessing::getOrientatedImage(picture, -270),
        mirrored,
        ImageProcessing::getOrientatedImage(mirrored, -90),
        ImageProcessing::getOrientatedImage(mirrored, -180),
        ImageProcessing::getOrientatedImage(mirrored, -270),
    };
}

FingerprintTurns::FingerprintTurns(int n)
    : m_bits(n > 0 ? size_t(n) * size_t(n) : 0)
{
    // Whole words (the word view has no tail) and whole square cells; pixel numbers fit 16 bits.
    if (n <= 0 || m_bits % 64 != 0 || n % kGridRows != 0 || n % kGridColumns != 0 || kGridRows != kGridColumns
        || m_bits > 65536) {
        m_valid = false;
        return;
    }
    const size_t cell = m_bits / size_t(kGridRows * kGridColumns);
    const std::vector<int> pixels = GridHash::bitPixels(n, n, kGridRows, kGridColumns, m_bits);
    std::vector<int> bitOfPixel(m_bits, -1);
    for (size_t k = 0; k < m_bits; ++k)
        bitOfPixel[size_t(pixels[k])] = int(k);
    const QList<QImage> low = variantPictures(numberPicture(n, 0));
    const QList<QImage> high = variantPictures(numberPicture(n, 8));
    for (int v = 1; v < kVariants && m_valid; ++v) {
        std::vector<uint16_t> &sources = m_sources[size_t(v - 1)];
        std::vector<bool> taken(m_bits, false);
        for (size_t k = 0; k < m_bits && m_valid; ++k) {
            const int x = pixels[k] % n;
            const int y = pixels[k] / n;
            const bool sameSize = low[v].size() == QSize(n, n) && high[v].size() == QSize(n, n);
            const int number
                = sameSize ? (low[v].pixel(x, y) & 0xff) | ((high[v].pixel(x, y) & 0xff) << 8) : -1;
            const int source = number >= 0 && size_t(number) < m_bits ? bitOfPixel[size_t(number)] : -1;
            // A reordering, and one that keeps the bits of a cell in one cell (so its mean).
            m_valid = source >= 0 && !taken[size_t(source)]
                && (k % cell == 0 || size_t(source) / cell == size_t(sources.back()) / cell);
            if (m_valid) {
                taken[size_t(source)] = true;
                sources.push_back(uint16_t(source));
            }
        }
    }
}

void FingerprintTurns::appendVariant(
    std::span<const uint64_t> first, int variant, std::vector<uint64_t> &out) const
{
    if (variant < 1 || variant >= kVariants || first.size() * 64 != m_bits)
        return;
    const std::vector<uint16_t> &sources = m_sources[size_t(variant - 1)];
    for (size_t w = 0; w < m_bits; w += 64) {
        uint64_t word = 0;
        for (size_t b = w; b < w + 64; ++b) {
            const unsigned s = sources[b];
            word = (word << 1) | ((first[s >> 6] >> (63 - (s & 63))) & 1u);
        }
        out.push_back(word);
    }
}
