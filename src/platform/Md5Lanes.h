// MD5 of many messages at once, one message per lane of the processor's vector registers: 16 with
// AVX-512, 8 with AVX2, one at a time otherwise. Each lane takes whole 64-byte blocks only; the
// caller finishes each message (its last bytes and the padding) with Md5Digest from the lane's
// state. The kernel is chosen once from what the processor supports; tests can ask for any.
#pragma once

#include <cstddef>

#include "platform/Md5Digest.h"

class Md5Lanes
{
public:
    enum class Kernel { Scalar, Avx2, Avx512 };
    static constexpr int kMaxLanes = 16;

    // The widest kernel this processor runs.
    static Kernel fastest();
    static bool runs(Kernel kernel);
    // How many messages the kernel hashes side by side.
    static int width(Kernel kernel);

    // Adds `blocks` whole blocks to each of `lanes` states (at most width(kernel)): lane i's
    // blocks start at data[i] and are added to states[i]. `kernel` must run here.
    static void compress(
        Kernel kernel, Md5Digest::State *states, const uchar *const *data, int lanes, size_t blocks);
};
