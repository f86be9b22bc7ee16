#include "scan/GroupJoins.h"

#include <algorithm>
#include <numeric>

#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"

GroupJoins::GroupJoins(const ScanSession &session, const PairScoreOptions &options,
    const std::vector<RecordList> &pictures, const std::vector<std::vector<qsizetype>> &groupsOfPicture,
    const std::unordered_map<const ImageFileInfo *, qsizetype> &positionOf, const TimesOf &timesOf)
    : m_options(options)
    , m_joinedTo(size_t(session.arrAllFilesGrouping.size()))
{
    std::iota(m_joinedTo.begin(), m_joinedTo.end(), qsizetype(0));
    addPictures(pictures, timesOf);
    // Only the groups holding a copy of a picture that lies in more than one group are joined.
    for (const std::vector<qsizetype> &groups : groupsOfPicture) {
        if (!liesApart(groups))
            continue;
        for (const qsizetype g : groups) {
            const auto [set, fresh] = m_sets.try_emplace(g);
            if (!fresh)
                continue;
            set->second.groups.push_back(g);
            for (const auto &member : session.arrAllFilesGrouping.at(g)->children)
                addMember(set->second, *member, positionOf.at(member.get()), timesOf);
        }
    }
}

bool GroupJoins::liesApart(const std::vector<qsizetype> &groups)
{
    return std::ranges::any_of(groups, [&groups](qsizetype g) { return g != groups.front(); });
}

void GroupJoins::addPictures(const std::vector<RecordList> &pictures, const TimesOf &timesOf)
{
    m_pictures.reserve(pictures.size());
    for (const RecordList &copies : pictures) {
        Picture &picture = m_pictures.emplace_back();
        picture.first = m_dates.size();
        // Copies of the same bytes have the same capture date or none.
        picture.uncaptured = timesOf(*copies.first()).capture == RecordTimes::State::None;
        for (const auto &copy : copies) {
            const RecordTimes &times = timesOf(*copy);
            if (times.hasCreate)
                m_dates.push_back(times.createMs);
            else
                picture.undated = true;
            m_pictureOf.emplace(copy.get(), std::uint32_t(m_pictures.size() - 1));
        }
        const auto dates = m_dates.begin() + std::ptrdiff_t(picture.first);
        std::sort(dates, m_dates.end());
        m_dates.erase(std::unique(dates, m_dates.end()), m_dates.end());
        picture.count = m_dates.size() - picture.first;
    }
}

void GroupJoins::addMember(Set &set, const ImageFileInfo &member, qsizetype position, const TimesOf &timesOf)
{
    const RecordTimes &times = timesOf(member);
    set.dates.add(times);
    m_members.push_back(&member);
    const size_t kind = m_kinds.add(member, qsizetype(m_members.size()) - 1);
    const auto span = std::ranges::find(set.kinds, kind, &KindSpan::kind);
    if (span == set.kinds.end())
        set.kinds.push_back({ kind, position, position });
    else
        span->last = std::max(span->last, position);
    const auto picture = m_pictureOf.find(&member);
    if (picture != m_pictureOf.end()) {
        set.pictures.insert(picture->second);
        return;
    }
    ++set.outside;
    if (times.hasCreate) {
        set.looseDates.add(times);
        set.loose.push_back({ times.createMs, times.capture == RecordTimes::State::None });
    }
}

qsizetype GroupJoins::rootOf(qsizetype g)
{
    while (m_joinedTo[size_t(g)] != g)
        g = m_joinedTo[size_t(g)] = m_joinedTo[size_t(m_joinedTo[size_t(g)])];
    return g;
}

bool GroupJoins::join(qsizetype a, qsizetype b)
{
    const qsizetype rootA = rootOf(a);
    const qsizetype rootB = rootOf(b);
    if (rootA == rootB)
        return true;
    Set &setA = m_sets.at(rootA);
    Set &setB = m_sets.at(rootB);
    // Capture dates and places of a photo's copies are the same, so neither is ever excused.
    if (!withinLimit(setA.dates.capture, setB.dates.capture) || !kindsMatch(setA, setB)
        || !fileDatesAllowJoin(setA, setB))
        return false;
    const qsizetype root = std::min(rootA, rootB);
    const qsizetype other = std::max(rootA, rootB);
    m_joinedTo[size_t(other)] = root;
    absorb(m_sets.at(root), m_sets.at(other));
    m_sets.erase(other);
    return true;
}

void GroupJoins::absorb(Set &into, Set &from)
{
    if (into.groups.size() < from.groups.size())
        std::swap(into, from);
    into.groups.insert(into.groups.end(), from.groups.begin(), from.groups.end());
    into.dates.add(from.dates);
    for (const KindSpan &added : from.kinds) {
        const auto span = std::ranges::find(into.kinds, added.kind, &KindSpan::kind);
        if (span == into.kinds.end()) {
            into.kinds.push_back(added);
            continue;
        }
        span->first = std::min(span->first, added.first);
        span->last = std::max(span->last, added.last);
    }
    into.pictures.insert(from.pictures.begin(), from.pictures.end());
    into.outside += from.outside;
    into.looseDates.add(from.looseDates);
    into.loose.insert(into.loose.end(), from.loose.begin(), from.loose.end());
}

// A pair is scored with the later member first, as first fit scores a newcomer against a member.
bool GroupJoins::kindsMatch(const Set &a, const Set &b)
{
    for (const KindSpan &k : a.kinds) {
        for (const KindSpan &l : b.kinds) {
            if ((k.last > l.first && !kindScores(k.kind, l.kind))
                || (l.last > k.first && !kindScores(l.kind, k.kind)))
                return false;
        }
    }
    return true;
}

bool GroupJoins::kindScores(size_t later, size_t earlier)
{
    const std::uint64_t key = (std::uint64_t(later) << 32) | std::uint64_t(earlier);
    const auto [it, added] = m_kindScores.try_emplace(key, false);
    if (added) {
        // Members of one kind score alike but for their dates, which the spans settle.
        const RecordTimes noDates;
        const ImageFileInfo &a = *m_members[size_t(m_kinds.classes()[later].first)];
        const ImageFileInfo &b = *m_members[size_t(m_kinds.classes()[earlier].first)];
        it->second = PairScore::compareImages(a, noDates, b, noDates, m_options) >= m_options.sliderMinValue;
    }
    return it->second;
}

bool GroupJoins::closeEnough(std::int64_t differenceMs) const
{
    return std::abs(double(differenceMs)) / 1000.0 <= m_options.captureTimeInterval;
}

// Every pair across the two spans is within the limit exactly when their widest pair is.
bool GroupJoins::withinLimit(const Span &a, const Span &b) const
{
    return a.empty() || b.empty() || closeEnough(std::max(a.high - b.low, b.high - a.low));
}

bool GroupJoins::fileDatesMatch(const Dates &a, const Dates &b) const
{
    return withinLimit(a.createdUncaptured, b.created) && withinLimit(a.created, b.createdUncaptured);
}

// The members' own dates settle most joins; copies of what the other set holds pass as their
// copies there did; only the rest are compared picture by picture.
bool GroupJoins::fileDatesAllowJoin(const Set &a, const Set &b) const
{
    return !m_options.comparesFileDates() || fileDatesMatch(a.dates, b.dates) || holdsCopiesOf(a, b)
        || holdsCopiesOf(b, a) || everyPairPassesFileDates(a, b);
}

bool GroupJoins::holdsCopiesOf(const Set &set, const Set &copies)
{
    return copies.outside == 0 && copies.pictures.size() <= set.pictures.size()
        && std::ranges::all_of(copies.pictures, [&set](std::uint32_t p) { return set.pictures.contains(p); });
}

bool GroupJoins::everyPairPassesFileDates(const Set &a, const Set &b) const
{
    if (!fileDatesMatch(a.looseDates, b.looseDates))
        return false;
    const auto passesLoose = [this](const Picture &picture, const std::vector<Loose> &loose) {
        return std::ranges::all_of(loose, [&](const Loose &l) { return picturePasses(picture, l); });
    };
    for (const std::uint32_t p : a.pictures) {
        const Picture &x = m_pictures[p];
        if (!passesLoose(x, b.loose))
            return false;
        for (const std::uint32_t q : b.pictures) {
            if (p != q && !picturesPass(x, m_pictures[q]))
                return false;
        }
    }
    return std::ranges::all_of(
        b.pictures, [&](std::uint32_t q) { return passesLoose(m_pictures[q], a.loose); });
}

bool GroupJoins::picturesPass(const Picture &x, const Picture &y) const
{
    if ((!x.uncaptured && !y.uncaptured) || x.undated || y.undated)
        return true;
    const Picture &fewer = x.count <= y.count ? x : y;
    const Picture &more = &fewer == &x ? y : x;
    return std::ranges::any_of(
        datesOf(fewer), [&](std::int64_t ms) { return anyWithinLimit(datesOf(more), ms); });
}

bool GroupJoins::picturePasses(const Picture &x, const Loose &y) const
{
    return (!x.uncaptured && !y.uncaptured) || x.undated || anyWithinLimit(datesOf(x), y.createMs);
}

std::span<const std::int64_t> GroupJoins::datesOf(const Picture &picture) const
{
    return std::span(m_dates).subspan(picture.first, picture.count);
}

bool GroupJoins::anyWithinLimit(std::span<const std::int64_t> dates, std::int64_t ms) const
{
    const auto after = std::ranges::lower_bound(dates, ms);
    return (after != dates.end() && closeEnough(*after - ms))
        || (after != dates.begin() && closeEnough(ms - *(after - 1)));
}

void GroupJoins::Span::widen(std::int64_t ms)
{
    low = std::min(low, ms);
    high = std::max(high, ms);
}

void GroupJoins::Span::widen(const Span &other)
{
    low = std::min(low, other.low);
    high = std::max(high, other.high);
}

void GroupJoins::Dates::add(const RecordTimes &times)
{
    // An invalid capture date differs from every other by nothing, as the pair score has it.
    if (times.capture == RecordTimes::State::Valid)
        capture.widen(times.captureMs);
    if (!times.hasCreate)
        return;
    created.widen(times.createMs);
    if (times.capture == RecordTimes::State::None)
        createdUncaptured.widen(times.createMs);
}

void GroupJoins::Dates::add(const Dates &other)
{
    capture.widen(other.capture);
    created.widen(other.created);
    createdUncaptured.widen(other.createdUncaptured);
}
