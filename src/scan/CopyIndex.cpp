#include "scan/CopyIndex.h"

#include <QHash>

#include "model/ImageFileInfo.h"

size_t CopyIndex::keyOf(const ImageFileInfo &record)
{
    const FingerprintVariants &variants = record.arrHashOfRotateFlipImages;
    const std::span<const uint64_t> first = variants.words(0);
    return qHashBits(first.data(), first.size_bytes(), qHash(record.fileSize));
}

qsizetype CopyIndex::find(const ImageFileInfo &record, size_t key) const
{
    const auto [begin, end] = m_byKey.equal_range(key);
    for (auto it = begin; it != end; ++it) {
        const ImageFileInfo &sample = *m_entries[it->second].sample;
        if (sample.fileSize == record.fileSize
            && sample.arrHashOfRotateFlipImages == record.arrHashOfRotateFlipImages)
            return qsizetype(it->second);
    }
    return -1;
}

void CopyIndex::add(const ImageFileInfo &record, qsizetype group)
{
    if (record.arrHashOfRotateFlipImages.isEmpty())
        return;
    const size_t key = keyOf(record);
    qsizetype entry = find(record, key);
    if (entry < 0) {
        entry = qsizetype(m_entries.size());
        m_byKey.emplace(key, m_entries.size());
        m_entries.push_back({ &record, {} });
    }
    m_entries[size_t(entry)].holders[group].push_back(&record);
}

const CopyIndex::Holders *CopyIndex::holdersOf(const ImageFileInfo &record) const
{
    if (record.arrHashOfRotateFlipImages.isEmpty())
        return nullptr;
    const qsizetype entry = find(record, keyOf(record));
    return entry < 0 ? nullptr : &m_entries[size_t(entry)].holders;
}
