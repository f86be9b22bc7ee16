// A record's fingerprint variants: packed bit strings of equal length. Only the word view of each
// is kept (built once when the variant arrives, so the comparison never converts or allocates per
// pair), with the few bytes past the last whole word; the packed bytes are rebuilt from it on
// demand, which keeps a record's fingerprint to one copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include <QByteArray>
#include <QByteArrayView>

class FingerprintVariants
{
public:
    // Bytes of one packed variant for a bitmap of side n: (n*n + 7) / 8; 0 for n <= 0.
    static size_t bytesPerVariant(int n);
    // 64-bit words of the word view for side n: n*n / 64.
    static size_t wordsPerVariant(int n);

    bool isEmpty() const { return m_count == 0; }
    int count() const { return m_count; }
    size_t bytesPerPiece() const { return m_pieceBytes; }
    size_t wordsPerPiece() const { return m_pieceWords; }

    std::vector<uint8_t> variant(int index) const;
    std::span<const uint64_t> words(int index) const;
    // Every variant in index order, back to back: what the cache stores.
    QByteArray storedForm() const;

    // Appends one packed variant. All variants of a list have one length: a piece of another
    // length (or an empty one) is refused and false returned.
    bool append(std::span<const uint8_t> packed);
    // Splits a stored block into pieces of bytesPerVariant(n) and appends each whole piece; a
    // trailing remainder shorter than a piece is ignored. Returns the number appended.
    int appendStoredForm(std::span<const uint8_t> block, int n);
    int appendStoredForm(QByteArrayView block, int n);
    // Room for `variants` more pieces of `pieceBytes` in one allocation.
    void reserve(size_t variants, size_t pieceBytes);
    void clear();

    // The same variants, piece for piece.
    bool operator==(const FingerprintVariants &) const = default;

private:
    void appendVariantBytes(int index, std::vector<uint8_t> &out) const;

    std::vector<uint64_t> m_words;
    // Bytes of each variant past its last whole word (none when n*n is a multiple of 64).
    std::vector<uint8_t> m_tails;
    size_t m_pieceBytes = 0;
    size_t m_pieceWords = 0;
    int m_count = 0;
};
