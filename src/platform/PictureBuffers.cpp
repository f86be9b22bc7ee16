// Per-thread blocks, each lent to one lease or picture at a time. The thread that keeps a block is
// the only one that lends it; the holder that lets go of it may be any thread, so a block's state
// is the one thing both sides touch, and it decides which of them unmaps a block whose thread ended.
#include "platform/PictureBuffers.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <utility>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace
{

// Below this a block would save nothing the allocator does not already do well.
constexpr std::size_t kSmallestBlock = std::size_t(64) * 1024;
// The kept bytes hold a few reduced photos and their planes for every decoding thread. A
// full-size picture (a PNG; a 12 MP picture is 48 MB) does not fit and is given back as soon as it
// goes, so the memory kept does not follow the largest picture a scan meets.
constexpr std::size_t kKeptBytes = PictureBuffers::kKeptBytes;
constexpr std::size_t kAlignment = 64;

enum State : int {
    Free, // kept by its thread, waiting for the next request
    Lent, // kept by its thread, held by a lease or a picture
    Unkept, // held by a lease or a picture; unmapped when let go
};

std::size_t pageRounded(std::size_t bytes)
{
    static const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
    return (bytes + page - 1) / page * page;
}

std::atomic<std::size_t> g_keptBytes { 0 };

// Counts `bytes` as kept when all kept blocks stay within the bound with them.
bool chargeKept(std::size_t bytes)
{
    std::size_t kept = g_keptBytes.load(std::memory_order_relaxed);
    do {
        if (kept + bytes > kKeptBytes)
            return false;
    } while (!g_keptBytes.compare_exchange_weak(kept, kept + bytes, std::memory_order_relaxed));
    return true;
}

} // namespace

struct PictureBuffers::Block {
    void *data = nullptr;
    std::size_t capacity = 0;
    bool mapped = false;
    // Counted in the kept bytes until it is released.
    bool charged = false;
    std::atomic<int> state { Lent };

    // A block large enough for this class is mapped whether it is kept or not: the heap would keep
    // what a picture of each thread freed for that thread alone. A kept block is charged first, and
    // made unkept when the kept blocks hold too much already.
    static Block *make(std::size_t bytes, State state)
    {
        auto *block = new Block;
        if (state != Unkept && !chargeKept(pageRounded(bytes)))
            state = Unkept;
        block->charged = state != Unkept;
        block->state.store(state, std::memory_order_relaxed);
        if (!block->allocate(bytes, bytes >= kSmallestBlock)) {
            destroy(block);
            return nullptr;
        }
        return block;
    }

    bool allocate(std::size_t bytes, bool map)
    {
        if (map) {
            capacity = pageRounded(bytes);
            void *mappedData
                = mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (mappedData != MAP_FAILED) {
                data = mappedData;
                mapped = true;
                return true;
            }
        }
        capacity = (std::max<std::size_t>(bytes, 1) + kAlignment - 1) / kAlignment * kAlignment;
        data = std::aligned_alloc(kAlignment, capacity);
        mapped = false;
        return data != nullptr;
    }

    void release()
    {
        if (mapped)
            munmap(data, capacity);
        else
            std::free(data);
        if (charged)
            g_keptBytes.fetch_sub(pageRounded(capacity), std::memory_order_relaxed);
        data = nullptr;
        capacity = 0;
        charged = false;
    }

    static void destroy(Block *block)
    {
        block->release();
        delete block;
    }
};

namespace
{

using Block = PictureBuffers::Block;

struct Pool;

// Every thread's pool, so that any thread can give back the pages of the free blocks. A pool's list
// of blocks changes only on its own thread and under this lock; other threads read it under it.
struct Pools {
    std::mutex mutex;
    std::vector<Pool *> all;
};

Pools &pools()
{
    static auto *all = new Pools;
    return *all;
}

// Lends a free block to its caller; false when it is not free (another thread holds it meanwhile).
bool claim(Block *block)
{
    int expected = Free;
    return block->state.compare_exchange_strong(expected, Lent, std::memory_order_acq_rel);
}

// The blocks one thread keeps. When the thread ends, free blocks go at once and lent ones are
// left to their holders.
struct Pool {
    std::vector<Block *> blocks;

    Pool()
    {
        std::lock_guard<std::mutex> lock(pools().mutex);
        pools().all.push_back(this);
    }

    ~Pool()
    {
        {
            std::lock_guard<std::mutex> lock(pools().mutex);
            std::erase(pools().all, this);
        }
        for (Block *block : blocks) {
            if (block->state.exchange(Unkept, std::memory_order_acq_rel) == Free)
                Block::destroy(block);
        }
    }

    Block *freeFitting(std::size_t bytes) const
    {
        Block *best = nullptr;
        for (Block *block : blocks) {
            if (block->capacity >= bytes && block->state.load(std::memory_order_acquire) == Free
                && (!best || block->capacity < best->capacity))
                best = block;
        }
        return best;
    }

    Block *largestFree() const
    {
        Block *largest = nullptr;
        for (Block *block : blocks) {
            if (block->state.load(std::memory_order_acquire) == Free
                && (!largest || block->capacity > largest->capacity))
                largest = block;
        }
        return largest;
    }

    void keep(Block *block)
    {
        std::lock_guard<std::mutex> lock(pools().mutex);
        blocks.push_back(block);
    }

    void forget(Block *block)
    {
        std::lock_guard<std::mutex> lock(pools().mutex);
        blocks.erase(std::find(blocks.begin(), blocks.end(), block));
    }
};

Pool &pool()
{
    thread_local Pool threadPool;
    return threadPool;
}

} // namespace

PictureBuffers::Lease::Lease(Block *block, void *data)
    : m_block(block)
    , m_data(data)
{
}

PictureBuffers::Lease::Lease(Lease &&other) noexcept
    : m_block(std::exchange(other.m_block, nullptr))
    , m_data(std::exchange(other.m_data, nullptr))
{
}

PictureBuffers::Lease &PictureBuffers::Lease::operator=(Lease &&other) noexcept
{
    if (this != &other) {
        if (m_block)
            giveBack(m_block);
        m_block = std::exchange(other.m_block, nullptr);
        m_data = std::exchange(other.m_data, nullptr);
    }
    return *this;
}

PictureBuffers::Lease::~Lease()
{
    if (m_block)
        giveBack(m_block);
}

PictureBuffers::Lease PictureBuffers::lease(std::size_t bytes)
{
    if (bytes == 0)
        return {};
    Block *block = take(bytes);
    return block ? Lease(block, block->data) : Lease();
}

QImage PictureBuffers::image(const QSize &size, QImage::Format format)
{
    if (size.isEmpty() || format == QImage::Format_Invalid)
        return {};
    // Rows padded to 32 bits, as the picture would lay them out itself.
    const qsizetype bytesPerLine
        = (qsizetype(size.width()) * QImage::toPixelFormat(format).bitsPerPixel() + 31) / 32 * 4;
    const std::size_t bytes = std::size_t(bytesPerLine) * std::size_t(size.height());
    if (bytes < kSmallestBlock)
        return QImage(size, format);
    Block *block = take(bytes);
    if (!block)
        return QImage(size, format);
    QImage picture(static_cast<uchar *>(block->data), size.width(), size.height(), bytesPerLine, format,
        &PictureBuffers::giveBack, block);
    if (picture.isNull())
        giveBack(block);
    return picture;
}

int PictureBuffers::keptBlocks()
{
    return int(pool().blocks.size());
}

std::size_t PictureBuffers::keptBytes()
{
    return g_keptBytes.load(std::memory_order_relaxed);
}

// The smallest free block that holds `bytes`; else a new one while the kept bytes allow; else its
// largest free block given back to make room for one; else (all lent out, or too large to keep)
// one of its own.
PictureBuffers::Block *PictureBuffers::take(std::size_t bytes)
{
    if (bytes < kSmallestBlock)
        return Block::make(bytes, Unkept);
    Pool &kept = pool();
    if (Block *fitting = kept.freeFitting(bytes); fitting && claim(fitting))
        return fitting;
    if (pageRounded(bytes) > kKeptBytes)
        return Block::make(bytes, Unkept);
    Block *fresh = Block::make(bytes, Lent);
    if (fresh && fresh->charged) {
        kept.keep(fresh);
        return fresh;
    }
    Block *largest = kept.largestFree();
    if (!fresh || !largest || !claim(largest))
        return fresh;
    // Another thread's blocks may have taken the room; this thread's largest free one makes room.
    Block::destroy(fresh);
    kept.forget(largest);
    Block::destroy(largest);
    return take(bytes);
}

void PictureBuffers::releaseFreePages()
{
    // The lock keeps every pool, and so its blocks, alive meanwhile; a claimed block is lent to
    // nothing else while its pages go.
    std::lock_guard<std::mutex> lock(pools().mutex);
    for (const Pool *pool : pools().all) {
        for (Block *block : pool->blocks) {
            if (!block->mapped || !claim(block))
                continue;
            madvise(block->data, block->capacity, MADV_DONTNEED);
            giveBack(block);
        }
    }
}

void PictureBuffers::giveBack(void *block)
{
    auto *owned = static_cast<Block *>(block);
    int expected = Lent;
    if (!owned->state.compare_exchange_strong(expected, Free, std::memory_order_acq_rel))
        Block::destroy(owned);
}
