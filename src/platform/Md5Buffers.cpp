#include "platform/Md5Buffers.h"

#include <algorithm>
#include <utility>

Md5Buffers::Lease &Md5Buffers::Lease::operator=(Lease &&other) noexcept
{
    if (this != &other) {
        giveBack();
        m_pool = std::exchange(other.m_pool, nullptr);
        m_data = std::move(other.m_data);
        m_bytes = std::exchange(other.m_bytes, 0);
    }
    return *this;
}

Md5Buffers::Lease::~Lease()
{
    giveBack();
}

void Md5Buffers::Lease::giveBack()
{
    if (m_pool && m_data)
        m_pool->keep(std::move(m_data), m_bytes);
    m_data.reset();
}

Md5Buffers::Lease Md5Buffers::take(std::size_t bytes)
{
    Lease lease;
    lease.m_pool = this;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto fitting = std::find_if(
            m_free.begin(), m_free.end(), [bytes](const Kept &kept) { return kept.bytes >= bytes; });
        if (fitting != m_free.end()) {
            lease.m_data = std::move(fitting->data);
            lease.m_bytes = fitting->bytes;
            m_free.erase(fitting);
            return lease;
        }
        ++m_made;
    }
    lease.m_data.reset(new unsigned char[bytes]);
    lease.m_bytes = bytes;
    return lease;
}

Md5Buffers::Lease Md5Buffers::unpooled(std::size_t bytes)
{
    Lease lease;
    lease.m_data.reset(new unsigned char[bytes]);
    lease.m_bytes = bytes;
    return lease;
}

int Md5Buffers::made() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_made;
}

void Md5Buffers::keep(std::unique_ptr<unsigned char[]> data, std::size_t bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_free.push_back({ std::move(data), bytes });
}
