// Read buffers of the files summed side by side (Md5Files), kept for a whole pass: each job takes
// one for its files and gives it back when it ends, so a pass that sums thousands of files makes
// about one buffer per thread that sums, instead of one per job. A buffer of a megabyte, made and
// freed for every job, would have its pages given back to the system and faulted in again each time.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

class Md5Buffers
{
public:
    // A buffer held until the lease goes; then back to its pool, or freed when it has none.
    class Lease
    {
    public:
        Lease() = default;
        Lease(Lease &&other) noexcept = default;
        Lease &operator=(Lease &&other) noexcept;
        Lease(const Lease &) = delete;
        Lease &operator=(const Lease &) = delete;
        ~Lease();
        unsigned char *data() const { return m_data.get(); }

    private:
        friend class Md5Buffers;
        void giveBack();
        Md5Buffers *m_pool = nullptr;
        std::unique_ptr<unsigned char[]> m_data;
        std::size_t m_bytes = 0;
    };

    Md5Buffers() = default;
    Md5Buffers(const Md5Buffers &) = delete;
    Md5Buffers &operator=(const Md5Buffers &) = delete;

    // At least `bytes`, uninitialised: a kept buffer when one is free and large enough, else a new one.
    Lease take(std::size_t bytes);
    // A buffer of `bytes` of the lease's own, freed with it.
    static Lease unpooled(std::size_t bytes);
    // Buffers this pool has made so far.
    int made() const;

private:
    struct Kept {
        std::unique_ptr<unsigned char[]> data;
        std::size_t bytes;
    };
    void keep(std::unique_ptr<unsigned char[]> data, std::size_t bytes);

    mutable std::mutex m_mutex;
    std::vector<Kept> m_free;
    int m_made = 0;
};
