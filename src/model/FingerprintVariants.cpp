// Storage of a record's fingerprint variants and their word views.
#include "model/FingerprintVariants.h"

#include <algorithm>
#include <cmath>

#include "model/FingerprintTurns.h"
#include "model/FingerprintWords.h"

size_t FingerprintVariants::bytesPerVariant(int n)
{
    if (n <= 0)
        return 0;
    return (static_cast<size_t>(n) * static_cast<size_t>(n) + 7) / 8;
}

size_t FingerprintVariants::wordsPerVariant(int n)
{
    if (n <= 0)
        return 0;
    return static_cast<size_t>(n) * static_cast<size_t>(n) / 64;
}

void FingerprintVariants::appendVariantBytes(
    std::span<const uint64_t> words, int index, std::vector<uint8_t> &out) const
{
    for (const uint64_t word : words) {
        for (int shift = 56; shift >= 0; shift -= 8)
            out.push_back(uint8_t(word >> shift));
    }
    const size_t tail = m_pieceBytes - m_pieceWords * 8;
    if (index >= m_count)
        return;
    const auto first = m_tails.begin() + std::ptrdiff_t(size_t(index) * tail);
    out.insert(out.end(), first, first + std::ptrdiff_t(tail));
}

std::vector<uint8_t> FingerprintVariants::variant(int index) const
{
    std::vector<uint8_t> bytes;
    if (index < 0 || index >= m_count)
        return bytes;
    bytes.reserve(m_pieceBytes);
    appendVariantBytes(words(index), index, bytes);
    return bytes;
}

std::span<const uint64_t> FingerprintVariants::words(int index) const
{
    if (index < 0 || index >= m_count)
        return {};
    return std::span<const uint64_t>(m_words).subspan(index * m_pieceWords, m_pieceWords);
}

QByteArray FingerprintVariants::storedForm() const
{
    std::vector<uint8_t> bytes;
    bytes.reserve(size_t(fullCount()) * m_pieceBytes);
    for (int i = 0; i < m_count; ++i)
        appendVariantBytes(words(i), i, bytes);
    const FingerprintTurns *turns = rebuildingTurns();
    std::vector<uint64_t> turned;
    for (int i = m_count; turns && i < fullCount(); ++i) {
        turned.clear();
        turns->appendVariant(words(0), i, turned);
        appendVariantBytes(turned, i, bytes);
    }
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

int FingerprintVariants::side() const
{
    return int(std::lround(std::sqrt(double(m_pieceWords * 64))));
}

const FingerprintTurns *FingerprintVariants::rebuildingTurns() const
{
    return m_rebuilt && m_count == 1 ? FingerprintTurns::forSide(side()) : nullptr;
}

bool FingerprintVariants::leaveOutTurns()
{
    const bool all = m_count == FingerprintTurns::kVariants && m_leftOut == 0 && m_tails.empty();
    const FingerprintTurns *turns = all ? FingerprintTurns::forSide(side()) : nullptr;
    if (!turns)
        return false;
    std::vector<uint64_t> turned;
    turned.reserve(m_pieceWords);
    for (int i = 1; i < m_count; ++i) {
        turned.clear();
        turns->appendVariant(words(0), i, turned);
        if (!std::ranges::equal(turned, words(i)))
            return false;
    }
    m_words.resize(m_pieceWords);
    m_words.shrink_to_fit();
    m_count = 1;
    leaveOut(FingerprintTurns::kVariants - 1, true);
    return true;
}

void FingerprintVariants::restoreTurns()
{
    const FingerprintTurns *turns = rebuildingTurns();
    if (!turns)
        return;
    // Room for all first: the turns are read from the first variant while they are appended.
    m_words.reserve(size_t(fullCount()) * m_pieceWords);
    const std::span<const uint64_t> first(m_words.data(), m_pieceWords);
    for (int i = 1; i < fullCount(); ++i)
        turns->appendVariant(first, i, m_words);
    m_count = fullCount();
    m_leftOut = 0;
    m_rebuilt = false;
}

bool FingerprintVariants::append(std::span<const uint8_t> packed)
{
    if (packed.empty() || (m_count > 0 && packed.size() != m_pieceBytes) || m_leftOut > 0)
        return false;
    m_pieceBytes = packed.size();
    m_pieceWords = packed.size() / 8;
    m_tails.insert(m_tails.end(), packed.begin() + std::ptrdiff_t(m_pieceWords * 8), packed.end());
    FingerprintWords::appendWordView(packed, m_words);
    ++m_count;
    return true;
}

int FingerprintVariants::appendStoredForm(std::span<const uint8_t> block, int n, int held)
{
    const size_t piece = bytesPerVariant(n);
    if (piece == 0)
        return 0;
    const int pieces = int(block.size() / piece);
    reserve(size_t(std::min(pieces, held)), piece);
    int appended = 0;
    for (size_t offset = 0; appended < std::min(pieces, held); offset += piece) {
        if (!append(block.subspan(offset, piece)))
            return appended;
        ++appended;
    }
    if (appended < pieces)
        leaveOut(pieces - appended, false);
    return pieces;
}

int FingerprintVariants::appendStoredForm(QByteArrayView block, int n, int held)
{
    return appendStoredForm(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t *>(block.data()), size_t(block.size())), n,
        held);
}

void FingerprintVariants::leaveOut(int count, bool rebuilt)
{
    if (count <= 0 || m_count == 0)
        return;
    m_leftOut += count;
    m_rebuilt = rebuilt && m_count == 1 && m_leftOut == FingerprintTurns::kVariants - 1;
}

void FingerprintVariants::reserve(size_t variants, size_t pieceBytes)
{
    m_words.reserve(m_words.size() + variants * (pieceBytes / 8));
    m_tails.reserve(m_tails.size() + variants * (pieceBytes % 8));
}

void FingerprintVariants::clear()
{
    m_words.clear();
    m_tails.clear();
    m_pieceBytes = 0;
    m_pieceWords = 0;
    m_count = 0;
    m_leftOut = 0;
    m_rebuilt = false;
}
