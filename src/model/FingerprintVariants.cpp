// Storage of a record's fingerprint variants and their word views.
#include "model/FingerprintVariants.h"

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

std::span<const uint8_t> FingerprintVariants::variant(int index) const
{
    if (index < 0 || index >= m_count)
        return {};
    return std::span<const uint8_t>(m_bytes).subspan(index * m_pieceBytes, m_pieceBytes);
}

std::span<const uint64_t> FingerprintVariants::words(int index) const
{
    if (index < 0 || index >= m_count)
        return {};
    return std::span<const uint64_t>(m_words).subspan(index * m_pieceWords, m_pieceWords);
}

QByteArray FingerprintVariants::storedForm() const
{
    return QByteArray(reinterpret_cast<const char *>(m_bytes.data()), static_cast<qsizetype>(m_bytes.size()));
}

bool FingerprintVariants::append(std::span<const uint8_t> packed)
{
    if (packed.empty() || (m_count > 0 && packed.size() != m_pieceBytes))
        return false;
    m_pieceBytes = packed.size();
    m_pieceWords = packed.size() / 8;
    m_bytes.insert(m_bytes.end(), packed.begin(), packed.end());
    FingerprintWords::appendWordView(packed, m_words);
    ++m_count;
    return true;
}

int FingerprintVariants::appendStoredForm(std::span<const uint8_t> block, int n)
{
    const size_t piece = bytesPerVariant(n);
    if (piece == 0)
        return 0;
    int appended = 0;
    for (size_t offset = 0; offset + piece <= block.size(); offset += piece) {
        if (!append(block.subspan(offset, piece)))
            break;
        ++appended;
    }
    return appended;
}

void FingerprintVariants::clear()
{
    m_bytes.clear();
    m_words.clear();
    m_pieceBytes = 0;
    m_pieceWords = 0;
    m_count = 0;
}
