#include "scan/ScoreClasses.h"

#include <algorithm>

#include <QHash>

#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"

namespace
{

// Position and which dates exist; the dates themselves may differ inside a class.
bool samePlaceAndDateKinds(const ImageFileInfo &a, const ImageFileInfo &b)
{
    const ExifInfo *x = a.exifInfo.get();
    const ExifInfo *y = b.exifInfo.get();
    if (!x || !y)
        return x == y;
    return x->captureDate.has_value() == y->captureDate.has_value() && x->gpsLatitude == y->gpsLatitude
        && x->gpsLongitude == y->gpsLongitude;
}

const QDateTime *captureOf(const ImageFileInfo *record)
{
    return record && record->exifInfo && record->exifInfo->captureDate ? &*record->exifInfo->captureDate
                                                                       : nullptr;
}

const QDateTime *creationOf(const ImageFileInfo *record)
{
    return record && record->createDate.isValid() ? &record->createDate : nullptr;
}

// Keeps `holder` pointing at the member with the earlier (or later) date.
void keepExtreme(const ImageFileInfo *&holder, const ImageFileInfo &member,
    const QDateTime *(*dateOf)(const ImageFileInfo *), bool earliest)
{
    const QDateTime *date = dateOf(&member);
    if (!date)
        return;
    const QDateTime *held = dateOf(holder);
    if (!held || (earliest ? *date < *held : *held < *date))
        holder = &member;
}

} // namespace

size_t ScoreClasses::add(const ImageFileInfo &member, qsizetype index)
{
    const size_t hash = scoreHash(member);
    const auto [begin, end] = m_byHash.equal_range(hash);
    for (auto it = begin; it != end; ++it) {
        Class &existing = m_classes[it->second];
        if (scoreAlike(*existing.earliestCreation, member)) {
            widen(existing, member);
            return it->second;
        }
    }
    m_byHash.emplace(hash, m_classes.size());
    Class fresh;
    fresh.first = index;
    fresh.earliestCapture = fresh.latestCapture = &member;
    fresh.earliestCreation = fresh.latestCreation = &member;
    m_classes.push_back(fresh);
    return m_classes.size() - 1;
}

void ScoreClasses::widen(Class &range, const ImageFileInfo &member)
{
    keepExtreme(range.earliestCapture, member, captureOf, true);
    keepExtreme(range.latestCapture, member, captureOf, false);
    keepExtreme(range.earliestCreation, member, creationOf, true);
    keepExtreme(range.latestCreation, member, creationOf, false);
}

bool ScoreClasses::scoreAlike(const ImageFileInfo &a, const ImageFileInfo &b) const
{
    return a.fileSize == b.fileSize && a.blDoNotCompare == b.blDoNotCompare
        && (!m_comparesSums || a.fileMd5 == b.fileMd5) && a.createDate.isValid() == b.createDate.isValid()
        && samePlaceAndDateKinds(a, b) && a.arrHashOfRotateFlipImages == b.arrHashOfRotateFlipImages;
}

size_t ScoreClasses::scoreHash(const ImageFileInfo &record) const
{
    size_t hash = qHash(record.fileSize) ^ (m_comparesSums ? qHash(record.fileMd5) : 0);
    const FingerprintVariants &variants = record.arrHashOfRotateFlipImages;
    if (!variants.isEmpty()) {
        const std::span<const uint64_t> first = variants.words(0);
        hash ^= qHashBits(first.data(), first.size_bytes(), size_t(variants.count()));
    }
    return hash;
}
