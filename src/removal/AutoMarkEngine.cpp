#include "removal/AutoMarkEngine.h"

#include <algorithm>
#include <iterator>
#include <unordered_set>

#include "model/DuplicatesGroup.h"
#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "platform/UserDefaults.h"
#include "platform/VariantNumber.h"
#include "removal/MarkCounters.h"
#include "results/ResultState.h"

namespace
{

using Members = AutoMarkEngine::Members;
using Record = std::shared_ptr<ImageFileInfo>;

const QString kRulesKey = QStringLiteral("autoMarkRules");

// Pixel products can exceed 64 bits for nonsense EXIF values; 128 bits never overflow.
std::optional<__int128> pixelProduct(const ImageFileInfo &r)
{
    if (!r.exifInfo)
        return std::nullopt;
    return __int128(r.exifInfo->pixelWidth) * __int128(r.exifInfo->pixelHeight);
}

std::optional<double> dpiProduct(const ImageFileInfo &r)
{
    if (!r.exifInfo)
        return std::nullopt;
    return r.exifInfo->dpiWidth * r.exifInfo->dpiHeight;
}

std::optional<std::uint64_t> sizeOf(const ImageFileInfo &r)
{
    return r.fileSize;
}

std::optional<qint64> captureTime(const ImageFileInfo &r)
{
    if (!r.exifInfo || !r.exifInfo->captureDate || !r.exifInfo->captureDate->isValid())
        return std::nullopt;
    return r.exifInfo->captureDate->toMSecsSinceEpoch();
}

std::optional<qint64> modTime(const ImageFileInfo &r)
{
    if (!r.modDate.isValid())
        return std::nullopt;
    return r.modDate.toMSecsSinceEpoch();
}

QString extensionOf(const ImageFileInfo &r)
{
    const qsizetype dot = r.fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : r.fileName.mid(dot + 1).toLower();
}

// Only a Boolean true counts; a missing or other value chooses the second item of the choice.
bool markWithEarlier(const QVariantMap &rule)
{
    const QVariant value = rule.value(QStringLiteral("isMarkWithEarlier"));
    return value.typeId() == QMetaType::Bool && value.toBool();
}

// The candidates that have the datum, ordered by it (largest first when `descending`), followed by
// the others in their own order.
template <typename Datum> Members orderedByDatum(const Members &candidates, Datum datum, bool descending)
{
    Members with, without;
    for (const Record &r : candidates)
        (datum(*r) ? with : without).append(r);
    std::stable_sort(with.begin(), with.end(), [&](const Record &x, const Record &y) {
        return descending ? *datum(*x) > *datum(*y) : *datum(*x) < *datum(*y);
    });
    return with + without;
}

// The first member and every member whose datum equals the first's; the whole list when the first
// has no datum.
template <typename Datum> Members tiesWithFirst(const Members &ordered, Datum datum)
{
    if (ordered.isEmpty())
        return {};
    const auto first = datum(*ordered.front());
    if (!first)
        return ordered;
    Members kept { ordered.front() };
    for (qsizetype i = 1; i < ordered.size(); ++i) {
        const auto value = datum(*ordered[i]);
        if (value && *value == *first)
            kept.append(ordered[i]);
    }
    return kept;
}

template <typename Predicate> Members where(const Members &list, Predicate keep)
{
    Members result;
    std::copy_if(
        list.begin(), list.end(), std::back_inserter(result), [&](const Record &r) { return keep(*r); });
    return result;
}

Members byExtension(const Members &candidates, bool ascending)
{
    Members ordered = candidates;
    std::stable_sort(ordered.begin(), ordered.end(), [ascending](const Record &x, const Record &y) {
        const int order = QString::compare(extensionOf(*x), extensionOf(*y));
        return ascending ? order < 0 : order > 0;
    });
    return ordered;
}

} // namespace

AutoMarkEngine::AutoMarkEngine(ResultState &state, RulesSource rules)
    : m_state(state)
    , m_rules(std::move(rules))
{
    if (!m_rules)
        m_rules = [] { return UserDefaults::standard().arrayForKey(kRulesKey); };
}

std::optional<QVariantMap> AutoMarkEngine::usableRule(const QVariant &entry)
{
    if (entry.typeId() != QMetaType::QVariantMap && entry.typeId() != QMetaType::QVariantHash)
        return std::nullopt;
    QVariantMap rule = entry.toMap();
    const QVariant state = rule.value(QStringLiteral("state"));
    if (!VariantNumber::isNumber(state) || !state.toBool())
        return std::nullopt;
    if (rule.value(QStringLiteral("key")).typeId() != QMetaType::QString)
        return std::nullopt;
    return rule;
}

void AutoMarkEngine::applyAutoMarkRules(DuplicatesGroup &group)
{
    const QVariantList rules = m_rules();
    for (const Record &r : group.filterChildren)
        r->isMark = false;
    for (const QVariant &entry : rules) {
        const std::optional<QVariantMap> rule = usableRule(entry);
        if (rule && applyAutoMarkRule(group, rule->value(QStringLiteral("key")).toString(), *rule))
            break;
    }
    bool keptOne = false;
    for (const Record &r : group.filterChildren) {
        if (r->isLocked || r->isMark)
            continue;
        if (keptOne)
            MarkCounters::markAndCount(m_state, *r);
        keptOne = true;
    }
}

bool AutoMarkEngine::applyAutoMarkRule(DuplicatesGroup &group, const QString &key, const QVariantMap &rule)
{
    const Members candidates = autoMarkCandidates(group.filterChildren);
    const Members ordered = sortedByAutoMarkKey(candidates, key, rule);
    if (ordered.isEmpty())
        return true;
    const Members kept = itemsToKeepByAutoMarkKey(ordered, key, rule);
    if (kept.isEmpty())
        return false;
    if (kept.size() == candidates.size())
        return candidates.size() == 1;
    // Exactly the candidates outside the kept set are marked: marking by position would mark a file
    // the rule never names (a PNG under "mark JPEG") and keep one it does.
    std::unordered_set<const ImageFileInfo *> keep;
    for (const Record &r : kept)
        keep.insert(r.get());
    for (const Record &r : candidates) {
        if (!keep.contains(r.get()))
            MarkCounters::markAndCount(m_state, *r);
    }
    return kept.size() == 1;
}

Members AutoMarkEngine::autoMarkCandidates(const Members &members)
{
    return where(members, [](const ImageFileInfo &r) { return !r.isMark && !r.isLocked; });
}

Members AutoMarkEngine::sortedByAutoMarkKey(
    const Members &candidates, const QString &key, const QVariantMap &rule)
{
    if (key == QLatin1String("library")) {
        Members ordered = candidates;
        std::stable_partition(
            ordered.begin(), ordered.end(), [](const Record &r) { return r->isPhotosNode; });
        return ordered;
    }
    if (key == QLatin1String("dimension"))
        return orderedByDatum(candidates, pixelProduct, true);
    if (key == QLatin1String("dpi"))
        return orderedByDatum(candidates, dpiProduct, true);
    if (key == QLatin1String("size"))
        return orderedByDatum(candidates, sizeOf, true);
    if (key == QLatin1String("date"))
        return orderedByDatum(candidates, captureTime, markWithEarlier(rule));
    if (key == QLatin1String("modDate"))
        return orderedByDatum(candidates, modTime, markWithEarlier(rule));
    if (key == QLatin1String("preferFormat"))
        return byExtension(candidates, markWithEarlier(rule));
    if (key == QLatin1String("metadata"))
        return where(candidates, [](const ImageFileInfo &r) { return r.exifInfo != nullptr; });
    return candidates;
}

Members AutoMarkEngine::itemsToKeepByAutoMarkKey(
    const Members &ordered, const QString &key, const QVariantMap &rule)
{
    if (key == QLatin1String("library"))
        return where(ordered, [](const ImageFileInfo &r) { return r.isPhotosNode; });
    if (key == QLatin1String("dimension"))
        return tiesWithFirst(ordered, pixelProduct);
    if (key == QLatin1String("dpi"))
        return tiesWithFirst(ordered, dpiProduct);
    if (key == QLatin1String("size"))
        return tiesWithFirst(ordered, sizeOf);
    if (key == QLatin1String("date"))
        return tiesWithFirst(ordered, captureTime);
    if (key == QLatin1String("modDate"))
        return tiesWithFirst(ordered, modTime);
    if (key == QLatin1String("preferFormat")) {
        if (!markWithEarlier(rule))
            return itemsWithoutExtension(ordered, QStringLiteral("heic"));
        return where(ordered, [](const ImageFileInfo &r) {
            const QString extension = extensionOf(r);
            return extension != QLatin1String("jpeg") && extension != QLatin1String("jpg");
        });
    }
    return ordered;
}

Members AutoMarkEngine::itemsWithoutExtension(const Members &list, const QString &extension)
{
    return where(list, [&](const ImageFileInfo &r) { return extensionOf(r) != extension; });
}
