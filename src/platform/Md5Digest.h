// MD5 (RFC 1321) of bytes given in pieces of any length. Its state after whole blocks can be taken
// out and put back, so that a message can be hashed partly elsewhere (Md5Lanes hashes the whole
// blocks of many messages side by side) and finished here.
#pragma once

#include <array>
#include <cstddef>

#include <QByteArray>

class Md5Digest
{
public:
    static constexpr size_t kBlockBytes = 64;

    // The chaining words after some whole blocks, and the bytes those blocks held.
    struct State {
        std::array<quint32, 4> words { 0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476 };
        quint64 bytes = 0;
    };

    Md5Digest() = default;
    // Carries on from whole blocks hashed elsewhere.
    explicit Md5Digest(const State &state);

    void addData(const char *data, size_t size);
    // The whole blocks added so far (bytes short of a whole block wait in the digest).
    State state() const { return m_state; }
    // The 16-byte digest of everything added; the digest can take more data afterwards.
    QByteArray result() const;

    // Adds `count` whole blocks starting at `blocks` to `words`.
    static void compress(std::array<quint32, 4> &words, const uchar *blocks, size_t count);

private:
    State m_state;
    std::array<uchar, kBlockBytes> m_pending {};
    size_t m_pendingBytes = 0;
};
