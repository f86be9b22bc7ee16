// Pixel memory kept by each decoding thread for its next pictures. A scan decodes thousands of
// photos of a few sizes on every hashing thread; taking their planes from the allocator would leave
// each thread's heap holding the largest of them, freed but resident, for the rest of the scan. The
// blocks here are mapped outside the allocator, kept by the thread that took them, and reused by it
// once every picture over them has gone. What all threads keep together is bounded in bytes; a
// picture beyond that bound gets a block of its own, given back to the system when it goes.
// A block comes back from whichever thread lets go of the picture last; a thread that ends gives its
// blocks back as they come free.
#pragma once

#include <cstddef>

#include <QImage>
#include <QSize>

class PictureBuffers
{
public:
    struct Block;

    // What the kept blocks of all threads hold together at most, lent or free.
    static constexpr std::size_t kKeptBytes = std::size_t(32) * 1024 * 1024;

    // Scratch memory of the calling thread, held until the lease goes. Move-only.
    class Lease
    {
    public:
        Lease() = default;
        Lease(Lease &&other) noexcept;
        Lease &operator=(Lease &&other) noexcept;
        Lease(const Lease &) = delete;
        Lease &operator=(const Lease &) = delete;
        ~Lease();
        void *data() const { return m_data; }

    private:
        friend class PictureBuffers;
        Lease(Block *block, void *data);
        Block *m_block = nullptr;
        void *m_data = nullptr;
    };

    // At least `bytes` of memory, aligned for any vector type; uninitialised. Small requests and
    // failed mappings come from the ordinary heap, so the lease is only empty for zero bytes.
    static Lease lease(std::size_t bytes);

    // A picture of `size` and `format` over a block of the calling thread, uninitialised. It behaves
    // as any other picture: a copy that is written to gets pixels of its own. Null when the size is
    // empty or the picture could not be made at all.
    static QImage image(const QSize &size, QImage::Format format);

    // Gives the pages of every thread's free blocks back to the system; the blocks stay kept and
    // take pages again when next lent. For when no decodes follow for a while: the kept bytes
    // would otherwise stay resident beside whatever comes next.
    static void releaseFreePages();

    // Blocks the calling thread keeps now, lent out or free.
    static int keptBlocks();
    // Bytes the blocks of all threads keep now, lent out or free.
    static std::size_t keptBytes();

private:
    static Block *take(std::size_t bytes);
    static void giveBack(void *block);
};
