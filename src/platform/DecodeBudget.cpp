#include "platform/DecodeBudget.h"

#include <algorithm>

#include <malloc.h>

#include "platform/Log.h"

namespace
{

// Enough for the largest photographs of ordinary cameras and panoramas at the scale they are
// decoded at, one such decode at a time; a few hundred small ones run side by side.
constexpr std::int64_t kSharedCapacity = std::int64_t(512) * 1024 * 1024;

// One heap for every thread. Left to itself, glibc gives each decoding thread a heap of its own,
// and each keeps the large blocks of its last decodes after they are freed: a scan of sixteen large
// pictures held twice its budget in memory that nothing used. Mapping every large block for itself
// gave that memory back but faulted every page of every decode in again, a sixth of the time of a
// HEIC scan. In one heap a block freed by one decode is the next decode's, whichever thread runs
// it, so what is kept stays close to what the decodes running together use. The two fixed
// thresholds keep that heap from being handed back and faulted in again between decodes: blocks up
// to an ordinary photograph's planes stay in it, larger ones (panoramas) are mapped and given back
// at once, and only more than a few such planes of free space at its top is returned. Fixing them
// also stops glibc from raising the mapping threshold by itself. Set before main, so before any
// thread has taken a heap of its own.
constexpr int kMappedFromBytes = 32 * 1024 * 1024;
constexpr int kKeptFreeBytes = 64 * 1024 * 1024;
[[maybe_unused]] const bool kOneHeap = mallopt(M_ARENA_MAX, 1) && mallopt(M_MMAP_THRESHOLD, kMappedFromBytes)
    && mallopt(M_TRIM_THRESHOLD, kKeptFreeBytes);

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
    static DecodeBudget budget = makeShared();
    return budget;
}

DecodeBudget::DecodeBudget(std::int64_t capacityBytes)
    : m_capacity(capacityBytes)
{
}

DecodeBudget::Reservation DecodeBudget::reserve(
    std::int64_t bytes, const QString &picture, std::int64_t pictureLimit)
{
    const std::int64_t limit = pictureLimit >= 0 ? std::min(pictureLimit, m_capacity) : m_capacity;
    if (bytes < 0 || bytes > limit) {
        Log::line(QStringLiteral("Image too large to decode (%1 MB needed): ").arg(bytes / (1024 * 1024))
            + picture);
        return {};
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    m_freed.wait(lock, [&] { return m_used + bytes <= m_capacity; });
    m_used += bytes;
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
    }
    m_freed.notify_all();
}
