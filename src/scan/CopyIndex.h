// The records the similar comparison has placed, by byte size and fingerprint, with the groups that
// hold them. Byte copies of a file have both the same, so a record's copies are looked for among
// these alone, and files are read for their sums only then.
#pragma once

#include <map>
#include <unordered_map>
#include <vector>

#include <QtGlobal>

class ImageFileInfo;

class CopyIndex
{
public:
    // Group index to the records of one size and fingerprint that it holds, in placing order.
    using Holders = std::map<qsizetype, std::vector<const ImageFileInfo *>>;

    // Notes that group `group` now holds `record` (which the group keeps alive).
    void add(const ImageFileInfo &record, qsizetype group);
    // The groups holding records of the same size and fingerprint as `record`, or null.
    const Holders *holdersOf(const ImageFileInfo &record) const;

private:
    struct Entry {
        const ImageFileInfo *sample;
        Holders holders;
    };
    static size_t keyOf(const ImageFileInfo &record);
    // The index of the entry of `record`'s size and fingerprint, or -1.
    qsizetype find(const ImageFileInfo &record, size_t key) const;

    std::unordered_multimap<size_t, size_t> m_byKey;
    std::vector<Entry> m_entries;
};
