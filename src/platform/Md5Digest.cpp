#include "platform/Md5Digest.h"

#include <algorithm>
#include <cstring>

#include <QtEndian>

#include "platform/Md5Rounds.h"

Md5Digest::Md5Digest(const State &state)
    : m_state(state)
{
}

void Md5Digest::compress(std::array<quint32, 4> &words, const uchar *blocks, size_t count)
{
    quint32 state[4] = { words[0], words[1], words[2], words[3] };
    for (size_t n = 0; n < count; ++n, blocks += kBlockBytes) {
        quint32 m[16];
        for (size_t i = 0; i < 16; ++i)
            m[i] = qFromLittleEndian<quint32>(blocks + 4 * i);
        Md5Rounds<quint32>::block(state, m);
    }
    words = { state[0], state[1], state[2], state[3] };
}

void Md5Digest::addData(const char *data, size_t size)
{
    const auto *bytes = reinterpret_cast<const uchar *>(data);
    if (m_pendingBytes > 0) {
        const size_t taken = std::min(size, kBlockBytes - m_pendingBytes);
        std::memcpy(m_pending.data() + m_pendingBytes, bytes, taken);
        m_pendingBytes += taken;
        bytes += taken;
        size -= taken;
        if (m_pendingBytes < kBlockBytes)
            return;
        compress(m_state.words, m_pending.data(), 1);
        m_state.bytes += kBlockBytes;
        m_pendingBytes = 0;
    }
    const size_t whole = size / kBlockBytes;
    compress(m_state.words, bytes, whole);
    m_state.bytes += whole * kBlockBytes;
    m_pendingBytes = size - whole * kBlockBytes;
    if (m_pendingBytes > 0)
        std::memcpy(m_pending.data(), bytes + whole * kBlockBytes, m_pendingBytes);
}

QByteArray Md5Digest::result() const
{
    // The padding: one 0x80 byte, zeros up to 8 bytes short of a block, then the length in bits.
    const quint64 bits = (m_state.bytes + m_pendingBytes) * 8;
    std::array<uchar, 2 * kBlockBytes> tail {};
    std::memcpy(tail.data(), m_pending.data(), m_pendingBytes);
    tail[m_pendingBytes] = 0x80;
    const size_t blocks = m_pendingBytes + 1 + 8 <= kBlockBytes ? 1 : 2;
    qToLittleEndian<quint64>(bits, tail.data() + blocks * kBlockBytes - 8);
    std::array<quint32, 4> words = m_state.words;
    compress(words, tail.data(), blocks);
    QByteArray digest(16, Qt::Uninitialized);
    for (size_t i = 0; i < 4; ++i)
        qToLittleEndian<quint32>(words[i], digest.data() + 4 * i);
    return digest;
}
