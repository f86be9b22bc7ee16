#include "scan/GroupJoins.h"

#include <algorithm>
#include <numeric>

#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"

GroupJoins::GroupJoins(const ScanSession &session, const PairScoreOptions &options,
    const std::vector<std::vector<qsizetype>> &groupsOfPicture,
    const std::unordered_map<const ImageFileInfo *, qsizetype> &positionOf, const TimesOf &timesOf)
    : m_options(options)
    , m_joinedTo(size_t(session.arrAllFilesGrouping.size()))
{
    std::iota(m_joinedTo.begin(), m_joinedTo.end(), qsizetype(0));
    // Pictures are listed in order, so each group's list comes out sorted.
    std::unordered_map<qsizetype, std::vector<size_t>> picturesOf;
    for (size_t p = 0; p < groupsOfPicture.size(); ++p) {
        for (const qsizetype g : groupsOfPicture[p]) {
            std::vector<size_t> &pictures = picturesOf[g];
            if (pictures.empty() || pictures.back() != p)
                pictures.push_back(p);
        }
    }
    m_groups.reserve(picturesOf.size());
    m_sets.reserve(picturesOf.size());
    for (const auto &[g, pictures] : picturesOf) {
        GroupFacts &facts = m_groups[g];
        facts.pictures = pictures;
        Set &set = m_sets[g];
        set.groups.push_back(g);
        for (const size_t p : pictures)
            set.picturesHeld.emplace_back(p, 1);
        for (const auto &member : session.arrAllFilesGrouping.at(g)->children) {
            facts.dates.add(timesOf(*member));
            m_members.push_back(member.get());
            const size_t kind = m_kinds.add(*member, qsizetype(m_members.size()) - 1);
            const qsizetype position = positionOf.at(member.get());
            const auto span = std::ranges::find(set.kinds, kind, &KindSpan::kind);
            if (span == set.kinds.end())
                set.kinds.push_back({ kind, position, position });
            else
                span->last = std::max(span->last, position);
        }
        set.dates = facts.dates;
    }
}

qsizetype GroupJoins::rootOf(qsizetype g)
{
    while (m_joinedTo[size_t(g)] != g)
        g = m_joinedTo[size_t(g)] = m_joinedTo[size_t(m_joinedTo[size_t(g)])];
    return g;
}

bool GroupJoins::join(qsizetype a, qsizetype b, size_t picture)
{
    const qsizetype rootA = rootOf(a);
    const qsizetype rootB = rootOf(b);
    if (rootA == rootB)
        return true;
    Set &setA = m_sets.at(rootA);
    Set &setB = m_sets.at(rootB);
    // Capture dates and places of a photo's copies are the same, so neither is ever excused.
    if (!withinLimit(setA.dates.capture, setB.dates.capture) || !kindsMatch(setA, setB)
        || !fileDatesAllowJoin(setA, setB, picture))
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
    for (const auto &[picture, groups] : from.picturesHeld) {
        const auto found = std::ranges::lower_bound(into.picturesHeld, picture, {}, &PictureCount::first);
        if (found != into.picturesHeld.end() && found->first == picture)
            found->second += groups;
        else
            into.picturesHeld.insert(found, { picture, groups });
    }
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

// Every pair across the two spans is within the limit exactly when their widest pair is.
bool GroupJoins::withinLimit(const Span &a, const Span &b) const
{
    if (a.empty() || b.empty())
        return true;
    const std::int64_t widest = std::max(a.high - b.low, b.high - a.low);
    return double(widest) / 1000.0 <= m_options.captureTimeInterval;
}

bool GroupJoins::fileDatesMatch(const Dates &a, const Dates &b) const
{
    return withinLimit(a.createdUncaptured, b.created) && withinLimit(a.created, b.createdUncaptured);
}

bool GroupJoins::fileDatesAllowJoin(const Set &a, const Set &b, size_t picture) const
{
    if (!m_options.comparesFileDates() || fileDatesMatch(a.dates, b.dates))
        return true;
    // When every group of both holds a copy of the picture, every pair is excused.
    const auto holding = [picture](const Set &set) {
        const auto found = std::ranges::lower_bound(set.picturesHeld, picture, {}, &PictureCount::first);
        return found != set.picturesHeld.end() && found->first == picture
            && size_t(found->second) == set.groups.size();
    };
    if (holding(a) && holding(b))
        return true;
    for (const qsizetype g : a.groups) {
        for (const qsizetype h : b.groups) {
            if (!sharePicture(g, h) && !fileDatesMatch(m_groups.at(g).dates, m_groups.at(h).dates))
                return false;
        }
    }
    return true;
}

bool GroupJoins::sharePicture(qsizetype g, qsizetype h) const
{
    const std::vector<size_t> &x = m_groups.at(g).pictures;
    const std::vector<size_t> &y = m_groups.at(h).pictures;
    for (auto i = x.begin(), j = y.begin(); i != x.end() && j != y.end();) {
        if (*i == *j)
            return true;
        *i < *j ? ++i : ++j;
    }
    return false;
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
