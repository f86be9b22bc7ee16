#include "platform/DecodeBudget.h"

#include <algorithm>

#include "platform/Log.h"

namespace
{

// Enough for the largest photographs of ordinary cameras and panoramas at the scale they are
// decoded at, one such decode at a time; a few hundred small ones run side by side.
constexpr std::int64_t kSharedCapacity = std::int64_t(512) * 1024 * 1024;

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
