// The turned and mirrored variants of a grid-mean fingerprint, taken from its first variant alone.
// On a square thumbnail whose grid cells are whole and square, turning or mirroring the picture
// moves whole cells onto cells and pixels onto pixels, and every cell keeps its mean: each variant
// is then a fixed reordering of the first one's bits. The reorderings are found by putting a
// picture of pixel numbers through the very turns the fingerprint takes, so they give exactly the
// bits that fingerprinting the turned pictures gives.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include <QList>

class QImage;

class FingerprintTurns
{
public:
    // Variants of a fingerprint: the picture, its turns by -90, -180 and -270 degrees, the
    // mirrored picture and its turns.
    static constexpr int kVariants = 8;
    // The grid of the fingerprint's cells.
    static constexpr int kGridRows = 4;
    static constexpr int kGridColumns = 4;

    // The turns of the fingerprints of side n, or null when its variants are not reorderings of
    // the first (cells that do not divide the side, or bits that do not fill whole words).
    static const FingerprintTurns *forSide(int n);

    // The eight pictures a fingerprint is taken of, in variant order.
    static QList<QImage> variantPictures(const QImage &picture);

    // Appends the words of variant `variant` (1 to 7) of the fingerprint whose first variant has
    // the words `first` (n*n / 64 of them).
    void appendVariant(std::span<const uint64_t> first, int variant, std::vector<uint64_t> &out) const;

private:
    explicit FingerprintTurns(int n);
    bool isValid() const { return m_valid; }

    size_t m_bits;
    bool m_valid = true;
    // For each variant past the first, the bit of the first variant that each of its bits is.
    std::array<std::vector<uint16_t>, kVariants - 1> m_sources;
};
