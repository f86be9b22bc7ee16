// The memory that picture decodes may hold at once, shared by every thread that decodes: a decode
// reserves what it will allocate, from the size its decoder will make and the scale it decodes at,
// before it starts, and gives it back when done. A picture that needs more than the whole budget
// is refused, so no file, however it is crafted, and no number of hashing threads can take more.
// Decodes of large pictures share a smaller part of it, and take turns while enough other decodes
// keep the cores busy.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include <QString>

class DecodeBudget
{
public:
    // Held while a decode runs; gives its bytes back when it goes.
    class Reservation
    {
    public:
        Reservation() = default;
        Reservation(Reservation &&other) noexcept;
        Reservation &operator=(Reservation &&other) = delete;
        ~Reservation();
        bool isValid() const { return m_budget != nullptr; }

    private:
        friend class DecodeBudget;
        Reservation(DecodeBudget *budget, std::int64_t bytes);
        DecodeBudget *m_budget = nullptr;
        std::int64_t m_bytes = 0;
    };

    // Decodes of this many bytes or more are large; together they hold at most the share, except
    // that one of them may always run. Another one joins it only while `waitingToJoin` of them wait:
    // while the other threads decode smaller pictures, a second whole picture in memory buys no
    // speed; with half of them idle, waiting on large ones, it does.
    static constexpr std::int64_t kLargeDecodeBytes = std::int64_t(32) * 1024 * 1024;
    static constexpr std::int64_t kLargeDecodesShare = std::int64_t(256) * 1024 * 1024;

    // The budget of this process's decodes.
    static DecodeBudget &shared();

    // `waitingToJoin` below 1 stands for half the processor's threads, at least two.
    explicit DecodeBudget(std::int64_t capacityBytes, int waitingToJoin = 0);

    // Waits until `bytes` are free. Refused (an invalid reservation, and a log line naming
    // `picture`) when `bytes` is more than the whole budget or than `pictureLimit` when given.
    Reservation reserve(std::int64_t bytes, const QString &picture, std::int64_t pictureLimit = -1);
    // Whether a decode of `bytes` could ever be reserved; when not, a log line names `picture`.
    bool affords(std::int64_t bytes, const QString &picture, std::int64_t pictureLimit = -1) const;
    std::int64_t capacity() const { return m_capacity; }
    std::int64_t inUse() const;
    // The most held at once since the last call (or since the start), and a fresh count from now.
    std::int64_t takePeak();

private:
    void release(std::int64_t bytes);
    bool fits(std::int64_t bytes) const;

    const std::int64_t m_capacity;
    const int m_waitingToJoin;
    mutable std::mutex m_mutex;
    std::condition_variable m_freed;
    std::int64_t m_used = 0;
    // Held by decodes of whole large pictures.
    std::int64_t m_usedByLarge = 0;
    // Large decodes waiting for their turn.
    int m_largeWaiting = 0;
    std::int64_t m_peak = 0;
};
