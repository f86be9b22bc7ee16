#include "platform/Md5Files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "platform/Log.h"
#include "platform/Md5.h"

namespace
{

// Per lane: large enough that system calls cost little next to the hashing, small enough that
// sixteen lanes stay in the processor's cache.
constexpr size_t kLaneBytes = 64 * 1024;
constexpr size_t kBlock = Md5Digest::kBlockBytes;

} // namespace

Md5Files::Md5Files(
    QStringList paths, const std::atomic<bool> *stop, Md5Lanes::Kernel kernel, Md5Buffers *buffers)
    : m_paths(std::move(paths))
    , m_stop(stop)
    , m_kernel(kernel)
    , m_lanes(size_t(std::clamp<qsizetype>(m_paths.size(), 1, Md5Lanes::width(kernel))))
    , m_buffers(buffers ? buffers->take(m_lanes.size() * kLaneBytes)
                        : Md5Buffers::unpooled(m_lanes.size() * kLaneBytes))
{
}

bool Md5Files::stopped() const
{
    return m_stop && m_stop->load(std::memory_order_relaxed);
}

uchar *Md5Files::bufferOf(int lane)
{
    return m_buffers.data() + size_t(lane) * kLaneBytes;
}

void Md5Files::run(const Done &done)
{
    std::vector<int> ready;
    for (;;) {
        ready.clear();
        for (int i = 0; i < int(m_lanes.size()); ++i) {
            if (prepare(i, done))
                ready.push_back(i);
        }
        if (stopped() || ready.empty())
            return;
        compressReady(ready);
    }
}

// Gives the lane a file with at least one whole block read and not hashed, ending files and taking
// the next as needed; false once no file is left (or Stop was pressed).
bool Md5Files::prepare(int lane, const Done &done)
{
    Lane &l = m_lanes[size_t(lane)];
    for (;;) {
        if (stopped())
            return false;
        if (l.index < 0) {
            if (m_next >= m_paths.size())
                return false;
            if (!open(l, m_next++))
                done(m_next - 1, std::nullopt);
            continue;
        }
        if (l.end - l.start >= kBlock)
            return true;
        if (l.atEnd) {
            Md5Digest last(l.state);
            last.addData(reinterpret_cast<const char *>(bufferOf(lane) + l.start), l.end - l.start);
            end(l, Md5::hexString(last.result()), done);
        } else if (!fill(lane)) {
            end(l, std::nullopt, done);
        }
    }
}

bool Md5Files::open(Lane &lane, qsizetype index)
{
    lane.fd = RegularFile::openForReading(m_paths.at(index));
    if (!lane.fd.isValid())
        return false;
    ::posix_fadvise(lane.fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    lane.index = index;
    lane.left = lane.fd.size();
    lane.atEnd = false;
    lane.state = Md5Digest::State();
    lane.start = lane.end = 0;
    return true;
}

// Reads the lane's file on, after the bytes short of a block. Once the size at opening is read,
// one more byte is asked for: a file that grew or shrank while it was read (or one whose stated
// size is not its content, as in /proc) gets no sum. False (and one log line) on a failure.
bool Md5Files::fill(int lane)
{
    Lane &l = m_lanes[size_t(lane)];
    uchar *buffer = bufferOf(lane);
    std::memmove(buffer, buffer + l.start, l.end - l.start);
    l.end -= l.start;
    l.start = 0;
    const QString &path = m_paths.at(l.index);
    for (;;) {
        char extra = 0;
        const bool checking = l.left == 0;
        const size_t want = checking ? 1 : size_t(std::min<qint64>(l.left, qint64(kLaneBytes - l.end)));
        const ssize_t got
            = ::read(l.fd.get(), checking ? &extra : reinterpret_cast<char *>(buffer + l.end), want);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            Log::line(QStringLiteral("Cannot read file: ") + QString::fromLocal8Bit(std::strerror(errno))
                + QStringLiteral(" ") + path);
            return false;
        }
        if ((got == 0) != checking) {
            Log::line(QStringLiteral("File changed while it was read: ") + path);
            return false;
        }
        l.atEnd = checking;
        l.end += size_t(got);
        l.left -= got;
        // The end is checked at once, so that the lane's last whole blocks still go with the others.
        if (l.left > 0 || checking)
            return true;
    }
}

void Md5Files::end(Lane &lane, std::optional<QString> sum, const Done &done)
{
    const qsizetype index = lane.index;
    lane.index = -1;
    lane.fd = RegularFile::Descriptor();
    done(index, std::move(sum));
}

// Hashes the same number of whole blocks in every ready lane: as many as the shortest has.
void Md5Files::compressReady(const std::vector<int> &lanes)
{
    Md5Digest::State states[Md5Lanes::kMaxLanes];
    const uchar *data[Md5Lanes::kMaxLanes];
    size_t blocks = kLaneBytes / kBlock;
    for (size_t k = 0; k < lanes.size(); ++k) {
        const Lane &l = m_lanes[size_t(lanes[k])];
        states[k] = l.state;
        data[k] = bufferOf(lanes[k]) + l.start;
        blocks = std::min(blocks, (l.end - l.start) / kBlock);
    }
    Md5Lanes::compress(m_kernel, states, data, int(lanes.size()), blocks);
    for (size_t k = 0; k < lanes.size(); ++k) {
        Lane &l = m_lanes[size_t(lanes[k])];
        l.state = states[k];
        l.start += blocks * kBlock;
    }
}
