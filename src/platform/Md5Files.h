// The MD5s of many files, read side by side: each file has a lane of the vector MD5 (Md5Lanes) and
// its own read buffer; the lanes take whole blocks together while every lane has some, each file's
// last bytes are finished on its own, and its lane goes on with the next file. A file is read up
// to the size it had when it was opened, and Stop is looked at between reads.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

#include "platform/Md5Buffers.h"
#include "platform/Md5Lanes.h"
#include "platform/RegularFile.h"

class Md5Files
{
public:
    // Called once per file as it ends, in the order files end: its index in the paths and its
    // sum (32 lower-case hexadecimal characters), or nothing when it could not be read whole.
    using Done = std::function<void(qsizetype index, std::optional<QString> sum)>;

    // The read buffer comes from `buffers` when given (and goes back to it), else it is its own.
    Md5Files(QStringList paths, const std::atomic<bool> *stop, Md5Lanes::Kernel kernel = Md5Lanes::fastest(),
        Md5Buffers *buffers = nullptr);

    // Sums every file, or stops once `stop` is true: files not ended by then get no call.
    void run(const Done &done);

private:
    struct Lane {
        qsizetype index = -1;
        RegularFile::Descriptor fd;
        // Bytes still to read up to the size at opening; the end of the file was seen.
        qint64 left = 0;
        bool atEnd = false;
        Md5Digest::State state;
        // The bytes read but not yet hashed: [start, end) of the lane's buffer.
        size_t start = 0;
        size_t end = 0;
    };

    bool stopped() const;
    uchar *bufferOf(int lane);
    bool prepare(int lane, const Done &done);
    bool open(Lane &lane, qsizetype index);
    bool fill(int lane);
    void end(Lane &lane, std::optional<QString> sum, const Done &done);
    void compressReady(const std::vector<int> &lanes);

    QStringList m_paths;
    const std::atomic<bool> *m_stop;
    Md5Lanes::Kernel m_kernel;
    std::vector<Lane> m_lanes;
    Md5Buffers::Lease m_buffers;
    qsizetype m_next = 0;
};
