// An open file descriptor, closed when the object goes; moves, never copies.
#pragma once

#include <unistd.h>

#include <utility>

class Descriptor
{
public:
    Descriptor() = default;
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(Descriptor &&other) noexcept
        : m_fd(std::exchange(other.m_fd, -1))
    {
    }
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        if (this != &other) {
            if (m_fd >= 0)
                ::close(m_fd);
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    bool isValid() const { return m_fd >= 0; }
    int get() const { return m_fd; }
    // Gives up ownership: the caller closes the descriptor.
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd = -1;
};
