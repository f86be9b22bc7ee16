#include "platform/DecodeBudget.h"

#include <algorithm>
#include <thread>

#include <malloc.h>

#include "platform/Log.h"

namespace
{

// Enough for the largest photographs of ordinary cameras and panoramas at the scale they are
// decoded at, one such decode at a time; a few hundred small ones run side by side.
constexpr std::int64_t kSharedCapacity = std::int64_t(512) * 1024 * 1024;

// Decodes of whole pictures of several megapixels (PNG, HEIC) hold their pictures in full; many
// side by side only add memory, while the other threads keep the cores busy with reduced decodes.
bool isLarge(std::int64_t bytes)
{
    return bytes >= DecodeBudget::kLargeDecodeBytes;
}

// Blocks from 4 MB on are mapped on their own and given back as soon as they are freed: a whole
// picture's planes, the scan's large tables as they grow. Smaller ones come from the heaps, so that
// a buffer made and freed again and again (a decoder's rows, a phone photo's planes) is not mapped
// and unmapped each time; what is free at the top of a heap past 128 KB goes back to the system.
// Glibc starts out with both bounds at 128 KB, but once the first mapped block is freed it raises
// them with it: a heap then keeps free at its top up to twice the largest block freed so far
// (64 MB), and each decoding thread keeps the working memory of its largest decodes for the rest
// of the scan.
constexpr int kMappedFromBytes = 4 * 1024 * 1024;
constexpr int kKeptAtTopBytes = 128 * 1024;
#if defined(__GLIBC__)
[[maybe_unused]] const bool kHeapsBounded
    = mallopt(M_MMAP_THRESHOLD, kMappedFromBytes) == 1 && mallopt(M_TRIM_THRESHOLD, kKeptAtTopBytes) == 1;
#endif

// A large decode's planes are freed in the middle of the heaps as well, among blocks still in use:
// once it ends, every page the allocator holds free goes back to the system.
void releaseFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

DecodeBudget makeShared()
{
    return DecodeBudget(kSharedCapacity);
}

} // namespace

DecodeBudget::Reservation::Reservation(DecodeBudget *budget, std::int64_t bytes)
    : m_budget(budget)
    , m_bytes(bytes)
{
}

DecodeBudget::Reservation::Reservation(Reservation &&other) noexcept
    : m_budget(other.m_budget)
    , m_bytes(other.m_bytes)
{
    other.m_budget = nullptr;
}

DecodeBudget::Reservation::~Reservation()
{
    if (m_budget)
        m_budget->release(m_bytes);
}

DecodeBudget &DecodeBudget::shared()
{
    static auto *budget = new DecodeBudget(makeShared());
    return *budget;
}

DecodeBudget::DecodeBudget(std::int64_t capacityBytes, int waitingToJoin)
    : m_capacity(capacityBytes)
    , m_waitingToJoin(
          waitingToJoin > 0 ? waitingToJoin : std::max(2, int(std::thread::hardware_concurrency() / 2)))
{
}

bool DecodeBudget::fits(std::int64_t bytes) const
{
    if (m_used + bytes > m_capacity)
        return false;
    if (!isLarge(bytes) || m_usedByLarge == 0)
        return true;
    return m_usedByLarge + bytes <= kLargeDecodesShare && m_largeWaiting >= m_waitingToJoin;
}

bool DecodeBudget::affords(std::int64_t bytes, const QString &picture, std::int64_t pictureLimit) const
{
    const std::int64_t limit = pictureLimit >= 0 ? std::min(pictureLimit, m_capacity) : m_capacity;
    if (bytes >= 0 && bytes <= limit)
        return true;
    Log::line(
        QStringLiteral("Image too large to decode (%1 MB needed): ").arg(bytes / (1024 * 1024)) + picture);
    return false;
}

DecodeBudget::Reservation DecodeBudget::reserve(
    std::int64_t bytes, const QString &picture, std::int64_t pictureLimit)
{
    if (!affords(bytes, picture, pictureLimit))
        return {};
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!fits(bytes)) {
        // One more waiting may be what lets a large decode that waits already join.
        const int waiting = isLarge(bytes) ? 1 : 0;
        m_largeWaiting += waiting;
        m_freed.notify_all();
        m_freed.wait(lock, [&] { return fits(bytes); });
        m_largeWaiting -= waiting;
    }
    m_used += bytes;
    m_usedByLarge += isLarge(bytes) ? bytes : 0;
    m_peak = std::max(m_peak, m_used);
    return Reservation(this, bytes);
}

std::int64_t DecodeBudget::inUse() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_used;
}

std::int64_t DecodeBudget::takePeak()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::int64_t peak = m_peak;
    m_peak = m_used;
    return peak;
}

void DecodeBudget::release(std::int64_t bytes)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_used -= bytes;
        m_usedByLarge -= isLarge(bytes) ? bytes : 0;
    }
    m_freed.notify_all();
    if (isLarge(bytes))
        releaseFreedMemory();
}
