#include "platform/Md5Lanes.h"

#include <immintrin.h>

#include "platform/Md5Rounds.h"

namespace
{

using Words8 = quint32 __attribute__((vector_size(32)));
using Words16 = quint32 __attribute__((vector_size(64)));

// Where each lane's data lies from lane 0's; lanes past `lanes` repeat lane 0, whose results are
// never written back.
template <int Width> void laneOffsets(const uchar *const *data, int lanes, qint64 (&offsets)[Width])
{
    const auto base = reinterpret_cast<quintptr>(data[0]);
    for (int i = 0; i < Width; ++i)
        offsets[i] = i < lanes ? qint64(reinterpret_cast<quintptr>(data[i]) - base) : 0;
}

// The states as one vector per chaining word, lane i in element i.
template <class Vector, int Width>
void loadStates(const Md5Digest::State *states, int lanes, Vector (&vectors)[4])
{
    for (size_t k = 0; k < 4; ++k) {
        for (int i = 0; i < Width; ++i)
            vectors[k][i] = states[i < lanes ? i : 0].words[k];
    }
}

template <class Vector>
void storeStates(const Vector (&vectors)[4], int lanes, size_t blocks, Md5Digest::State *states)
{
    for (int i = 0; i < lanes; ++i) {
        for (size_t k = 0; k < 4; ++k)
            states[i].words[k] = vectors[k][i];
        states[i].bytes += blocks * Md5Digest::kBlockBytes;
    }
}

void compressScalar(Md5Digest::State *states, const uchar *const *data, int lanes, size_t blocks)
{
    for (int i = 0; i < lanes; ++i) {
        Md5Digest::compress(states[i].words, data[i], blocks);
        states[i].bytes += blocks * Md5Digest::kBlockBytes;
    }
}

[[gnu::target("avx2")]] void compressAvx2(
    Md5Digest::State *states, const uchar *const *data, int lanes, size_t blocks)
{
    qint64 offsets[8];
    laneOffsets<8>(data, lanes, offsets);
    __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(offsets));
    __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(offsets + 4));
    const __m256i step = _mm256_set1_epi64x(qint64(Md5Digest::kBlockBytes));
    const auto *base = reinterpret_cast<const int *>(data[0]);
    Words8 state[4];
    loadStates<Words8, 8>(states, lanes, state);
    for (size_t n = 0; n < blocks; ++n) {
        Words8 m[16];
        for (int j = 0; j < 16; ++j) {
            const __m128i first = _mm256_i64gather_epi32(base + j, low, 1);
            const __m128i second = _mm256_i64gather_epi32(base + j, high, 1);
            m[j] = Words8(_mm256_set_m128i(second, first));
        }
        Md5Rounds<Words8>::block(state, m);
        low = _mm256_add_epi64(low, step);
        high = _mm256_add_epi64(high, step);
    }
    storeStates(state, lanes, blocks, states);
}

[[gnu::target("avx512f")]] void compressAvx512(
    Md5Digest::State *states, const uchar *const *data, int lanes, size_t blocks)
{
    qint64 offsets[16];
    laneOffsets<16>(data, lanes, offsets);
    __m512i low = _mm512_loadu_si512(offsets);
    __m512i high = _mm512_loadu_si512(offsets + 8);
    const __m512i step = _mm512_set1_epi64(qint64(Md5Digest::kBlockBytes));
    const auto *base = reinterpret_cast<const int *>(data[0]);
    Words16 state[4];
    loadStates<Words16, 16>(states, lanes, state);
    for (size_t n = 0; n < blocks; ++n) {
        Words16 m[16];
        for (int j = 0; j < 16; ++j) {
            const __m256i zero = _mm256_setzero_si256();
            const Words8 first = Words8(_mm512_mask_i64gather_epi32(zero, 0xff, low, base + j, 1));
            const Words8 second = Words8(_mm512_mask_i64gather_epi32(zero, 0xff, high, base + j, 1));
            m[j] = __builtin_shufflevector(
                first, second, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
        }
        Md5Rounds<Words16>::block(state, m);
        low = _mm512_add_epi64(low, step);
        high = _mm512_add_epi64(high, step);
    }
    storeStates(state, lanes, blocks, states);
}

} // namespace

Md5Lanes::Kernel Md5Lanes::fastest()
{
    static const Kernel kernel = runs(Kernel::Avx512) ? Kernel::Avx512
        : runs(Kernel::Avx2)                          ? Kernel::Avx2
                                                      : Kernel::Scalar;
    return kernel;
}

bool Md5Lanes::runs(Kernel kernel)
{
    switch (kernel) {
    case Kernel::Avx512:
        return __builtin_cpu_supports("avx512f");
    case Kernel::Avx2:
        return __builtin_cpu_supports("avx2");
    case Kernel::Scalar:
        break;
    }
    return true;
}

int Md5Lanes::width(Kernel kernel)
{
    switch (kernel) {
    case Kernel::Avx512:
        return 16;
    case Kernel::Avx2:
        return 8;
    case Kernel::Scalar:
        break;
    }
    return 1;
}

void Md5Lanes::compress(
    Kernel kernel, Md5Digest::State *states, const uchar *const *data, int lanes, size_t blocks)
{
    if (lanes <= 0 || blocks == 0)
        return;
    // One message gains nothing from the vectors.
    if (lanes == 1)
        kernel = Kernel::Scalar;
    switch (kernel) {
    case Kernel::Avx512:
        return compressAvx512(states, data, lanes, blocks);
    case Kernel::Avx2:
        return compressAvx2(states, data, lanes, blocks);
    case Kernel::Scalar:
        break;
    }
    compressScalar(states, data, lanes, blocks);
}
