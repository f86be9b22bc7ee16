// Fingerprint bits shaped like a real picture's, for the grouping tests and benchmarks. Header-only,
// so a benchmark can use it without the test main.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace PictureLikeBits {

// n x n bits. Rows of a picture differ in how many cells lie above the mean, so each 64-bit word
// gets its own density of set bits (the word-count sketches then rule out many pairs and the full
// comparison decides the rest); `noise` gives every word the density one half instead.
inline std::vector<std::uint8_t> make(std::mt19937 &random, int n, bool noise = false)
{
    std::vector<std::uint8_t> bits(std::size_t(n * n / 8));
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (std::size_t word = 0; word < bits.size() / 8; ++word) {
        const double density = noise ? 0.5 : unit(random);
        for (std::size_t byte = 0; byte < 8; ++byte) {
            std::uint8_t value = 0;
            for (int bit = 0; bit < 8; ++bit)
                value = std::uint8_t(value << 1) | (unit(random) < density ? 1 : 0);
            bits[word * 8 + byte] = value;
        }
    }
    return bits;
}

} // namespace PictureLikeBits
