// Which files have to be read to find byte copies (those of an exact scan, and the photos of a
// similar one), and how far. Only files that share their byte size and their kind (photo or
// video) with another record can be copies; among them, files are told apart by a digest of
// their first and last 4 KB, and only those that still share it with another file are read whole. A file
// whose sum is already known (from the cache) is read at its ends only when a file of unknown sum could match
// it, and never whole.
#pragma once

#include <vector>

#include <QByteArray>

#include "scan/ScanSession.h"

class ContentNarrowing
{
public:
    // Bytes read at each end of a file; a file no longer than both ends is read whole at once.
    static constexpr qint64 kEndBytes = 4096;

    // Buckets the records by size and kind; buckets and their members keep scan order.
    explicit ContentNarrowing(const RecordList &records);

    // Every record of a bucket of two or more.
    const RecordList &shared() const { return m_shared; }
    // The records whose ends must be read, in order.
    RecordList needingEnds() const;
    // The records to read whole, given the digests of the ends of `needingEnds()` in the same
    // order (empty where a file could not be read).
    RecordList needingSums(const std::vector<QByteArray> &ends) const;

private:
    static bool isSmall(const RecordList &bucket);
    static bool hasUnknownSum(const RecordList &bucket);

    std::vector<RecordList> m_buckets;
    RecordList m_shared;
};
