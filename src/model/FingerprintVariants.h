// A record's fingerprint variants: packed bit strings of equal length. Only the word view of each
// is kept (built once when the variant arrives, so the comparison never converts or allocates per
// pair), with the few bytes past the last whole word; the packed bytes are rebuilt from it on
// demand, which keeps a record's fingerprint to one copy. A scan that compares no turned or
// mirrored variants keeps only the first: the others are either rebuilt from it for the cache
// (they are its exact turns) or, read from the cache, not needed at all.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include <QByteArray>
#include <QByteArrayView>

class FingerprintTurns;

class FingerprintVariants
{
public:
    // Bytes of one packed variant for a bitmap of side n: (n*n + 7) / 8; 0 for n <= 0.
    static size_t bytesPerVariant(int n);
    // 64-bit words of the word view for side n: n*n / 64.
    static size_t wordsPerVariant(int n);

    bool isEmpty() const { return m_count == 0; }
    // Variants held: those words() gives.
    int count() const { return m_count; }
    // Variants the fingerprint has, held or left out.
    int fullCount() const { return m_count + m_leftOut; }
    size_t bytesPerPiece() const { return m_pieceBytes; }
    size_t wordsPerPiece() const { return m_pieceWords; }

    std::vector<uint8_t> variant(int index) const;
    std::span<const uint64_t> words(int index) const;
    // The words of every held variant back to back: variant i from i * wordsPerPiece() on.
    std::span<const uint64_t> heldWords() const { return m_words; }
    // Every variant in index order, back to back: what the cache stores. Variants left out are
    // rebuilt when they can be, and missing otherwise.
    QByteArray storedForm() const;

    // Appends one packed variant. All variants of a list have one length: a piece of another
    // length (or an empty one), or one after variants left out, is refused and false returned.
    bool append(std::span<const uint8_t> packed);
    // Notes that `count` more variants follow the held ones without being kept. `rebuilt`: they
    // are the first variant's turns and mirror (FingerprintTurns), which storedForm rebuilds.
    void leaveOut(int count, bool rebuilt);
    // Keeps the first variant alone when the others are exactly its turns and mirror, as though
    // they had been left out to be rebuilt; false, and nothing changed, when they are not.
    bool leaveOutTurns();
    // Rebuilds and holds again the turns and mirror left out of the first variant.
    void restoreTurns();
    // Splits a stored block into pieces of bytesPerVariant(n) and appends each whole piece (at
    // most `held` of them; the rest are left out); a trailing remainder shorter than a piece is
    // ignored. Returns the number appended or left out.
    int appendStoredForm(std::span<const uint8_t> block, int n, int held = INT_MAX);
    int appendStoredForm(QByteArrayView block, int n, int held = INT_MAX);
    // Room for `variants` more pieces of `pieceBytes` in one allocation.
    void reserve(size_t variants, size_t pieceBytes);
    void clear();

    // The same variants, piece for piece.
    bool operator==(const FingerprintVariants &) const = default;

private:
    // The side n of the bitmaps the variants are made of.
    int side() const;
    // The turns that rebuild the left-out variants; null when none are left out to be rebuilt.
    const FingerprintTurns *rebuildingTurns() const;
    void appendVariantBytes(std::span<const uint64_t> words, int index, std::vector<uint8_t> &out) const;

    std::vector<uint64_t> m_words;
    // Bytes of each variant past its last whole word (none when n*n is a multiple of 64).
    std::vector<uint8_t> m_tails;
    size_t m_pieceBytes = 0;
    size_t m_pieceWords = 0;
    int m_count = 0;
    int m_leftOut = 0;
    bool m_rebuilt = false;
};
