// A record's fingerprint variants: packed bit strings of equal length kept back to back (which is
// also their stored form), with the word view of each built once when the variant arrives, so
// the comparison never converts or allocates per pair.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include <QByteArray>

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

    std::span<const uint8_t> variant(int index) const;
    std::span<const uint64_t> words(int index) const;
    // Every variant in index order, back to back: what the cache stores.
    QByteArray storedForm() const;

    // Appends one packed variant. All variants of a list have one length: a piece of another
    // length (or an empty one) is refused and false returned.
    bool append(std::span<const uint8_t> packed);
    // Splits a stored block into pieces of bytesPerVariant(n) and appends each whole piece; a
    // trailing remainder shorter than a piece is ignored. Returns the number appended.
    int appendStoredForm(std::span<const uint8_t> block, int n);
    void clear();

private:
    std::vector<uint8_t> m_bytes;
    std::vector<uint64_t> m_words;
    size_t m_pieceBytes = 0;
    size_t m_pieceWords = 0;
    int m_count = 0;
};
