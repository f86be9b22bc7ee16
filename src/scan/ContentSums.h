// The MD5s the similar comparison asks for: only of two files of one size that their file dates
// alone would keep apart. Each file is read at most once a scan; an unchanged file's cached sum and
// a cloud file's provider hash are taken instead of reading. Used on the comparison thread only.
#pragma once

#include <atomic>
#include <unordered_map>

#include <QString>

#include "scan/ScanSession.h"

class ContentSums
{
public:
    // Reading stops (and the file counts as unreadable) once `stop` is set.
    explicit ContentSums(const std::atomic<bool> &stop);

    // The same size and the same sum; a file that cannot be read is identical to nothing.
    bool identical(const ImageFileInfo &a, const ImageFileInfo &b);
    // How many times `identical` has said yes so far.
    int matches() const { return m_matches; }
    // Gives each record whose file was read here its sum, so that the cache can learn it, and
    // returns those records.
    RecordList storeIn(const RecordList &records) const;

private:
    struct Sum {
        QString md5;
        bool readHere = false;
    };
    const QString &sumOf(const ImageFileInfo &record);

    const std::atomic<bool> &m_stop;
    std::unordered_map<const ImageFileInfo *, Sum> m_sums;
    int m_matches = 0;
};
