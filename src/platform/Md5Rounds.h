// The 64 steps of MD5's block function (RFC 1321), written once for any word type that has the
// 32-bit arithmetic and bitwise operators: quint32 for one message, or a GCC vector of quint32
// for as many messages as it has lanes, one message per lane. Everything is inlined into the
// caller, so a vector instance compiles to the instruction set its caller is built for.
#pragma once

#include <array>
#include <cstddef>
#include <utility>

#include <QtGlobal>

template <class Word> class Md5Rounds
{
public:
    // Adds one 64-byte block to `state` (a, b, c, d); `m` holds the block's sixteen words, read
    // little-endian.
    [[gnu::always_inline]] static inline void block(Word (&state)[4], const Word (&m)[16])
    {
        Word r[4] = { state[0], state[1], state[2], state[3] };
        steps(r, m, std::make_index_sequence<64>());
        for (int i = 0; i < 4; ++i)
            state[i] += r[i];
    }

private:
    static constexpr std::array<quint32, 64> kAdd = { 0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee,
        0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501, 0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be,
        0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821, 0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa,
        0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8, 0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed,
        0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a, 0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c,
        0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70, 0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05,
        0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665, 0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039,
        0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1, 0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1,
        0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391 };
    static constexpr std::array<int, 16> kShift
        = { 7, 12, 17, 22, 5, 9, 14, 20, 4, 11, 16, 23, 6, 10, 15, 21 };

    static constexpr int wordOf(int i)
    {
        switch (i / 16) {
        case 0:
            return i;
        case 1:
            return (5 * i + 1) % 16;
        case 2:
            return (3 * i + 5) % 16;
        default:
            return (7 * i) % 16;
        }
    }

    template <size_t... I>
    [[gnu::always_inline]] static inline void steps(
        Word (&r)[4], const Word (&m)[16], std::index_sequence<I...>)
    {
        (step<int(I)>(r, m), ...);
    }

    // Step I works on the registers a, b, c, d turned I places: the a it writes is the d of the
    // step before.
    template <int I> [[gnu::always_inline]] static inline void step(Word (&r)[4], const Word (&m)[16])
    {
        constexpr int a = (64 - I) % 4, b = (65 - I) % 4, c = (66 - I) % 4, d = (67 - I) % 4;
        constexpr int shift = kShift[size_t(I / 16 * 4 + I % 4)];
        // What does not wait for the step before (b) is added first.
        Word sum = r[a] + m[wordOf(I)] + kAdd[size_t(I)];
        if constexpr (I < 16)
            sum += r[d] ^ (r[b] & (r[c] ^ r[d]));
        else if constexpr (I < 32)
            sum += (r[b] & r[d]) + (r[c] & ~r[d]);
        else if constexpr (I < 48)
            sum += r[b] ^ r[c] ^ r[d];
        else
            sum += r[c] ^ (r[b] | ~r[d]);
        r[a] = r[b] + ((sum << shift) | (sum >> (32 - shift)));
    }
};
