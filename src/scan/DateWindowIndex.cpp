#include "scan/DateWindowIndex.h"

#include <algorithm>
#include <cmath>

namespace
{

// Limits beyond this many milliseconds (some thirty thousand years) bound nothing.
constexpr double kUnboundedMs = 1e15;

} // namespace

DateWindowIndex::DateWindowIndex(const PairScoreOptions &options)
    : m_bounded(
        std::isfinite(options.captureTimeInterval) && options.captureTimeInterval * 1000.0 < kUnboundedMs)
    , m_creationRule(options.comparesFileDates())
    // One millisecond wider than the limit: the test itself settles the edge.
    , m_limitMs(m_bounded ? std::int64_t(std::ceil(options.captureTimeInterval * 1000.0)) + 1 : 0)
{
}

void DateWindowIndex::add(const RecordTimes &times, int position)
{
    using State = RecordTimes::State;
    if (times.capture == State::Valid)
        m_capture.push_back({ times.captureMs, position });
    else if (times.capture == State::Invalid)
        m_invalidCapture.push_back(position);
    std::vector<Dated> &created = times.capture != State::None ? m_createdCaptured : m_createdOnly;
    if (times.hasCreate)
        created.push_back({ times.createMs, position });
    else if (times.capture != State::None)
        m_capturedUncreated.push_back(position);
    else
        m_undated.push_back(position);
}

void DateWindowIndex::settle()
{
    settle(m_capture, m_settled[0]);
    settle(m_createdCaptured, m_settled[1]);
    settle(m_createdOnly, m_settled[2]);
}

void DateWindowIndex::settle(std::vector<Dated> &dated, size_t &settled)
{
    const auto middle = dated.begin() + std::ptrdiff_t(settled);
    std::sort(middle, dated.end());
    std::inplace_merge(dated.begin(), middle, dated.end());
    settled = dated.size();
}

bool DateWindowIndex::narrows(const RecordTimes &times) const
{
    return m_bounded && (times.capture == RecordTimes::State::Valid || (m_creationRule && times.hasCreate));
}

// Two records that both have a capture date are held to it (an invalid one passes); otherwise the
// creation dates count where the mode and source read them and both records have one.
DateWindowIndex::Parts DateWindowIndex::partsFor(const RecordTimes &times) const
{
    using State = RecordTimes::State;
    Parts parts;
    const bool byCreation = m_creationRule && times.hasCreate;
    if (times.capture == State::Valid)
        parts.windows.push_back({ &m_capture, times.captureMs });
    else if (times.capture == State::Invalid)
        parts.whole.push_back(&m_capture);
    const auto byDates = [&](const std::vector<Dated> &dated) {
        if (!byCreation) {
            parts.whole.push_back(&dated);
            return;
        }
        parts.windows.push_back({ &dated, times.createMs });
    };
    if (times.capture != State::None) {
        parts.lists.push_back(&m_invalidCapture);
    } else {
        byDates(m_createdCaptured);
        parts.lists.push_back(&m_capturedUncreated);
    }
    byDates(m_createdOnly);
    parts.lists.push_back(&m_undated);
    return parts;
}

std::pair<std::vector<DateWindowIndex::Dated>::const_iterator,
    std::vector<DateWindowIndex::Dated>::const_iterator>
DateWindowIndex::window(const Window &w) const
{
    const auto byDate = [](const Dated &d, std::int64_t ms) { return d.ms < ms; };
    const auto first = std::lower_bound(w.dates->begin(), w.dates->end(), w.ms - m_limitMs, byDate);
    const auto last = std::lower_bound(first, w.dates->end(), w.ms + m_limitMs + 1, byDate);
    return { first, std::max(first, last) };
}

size_t DateWindowIndex::reach(const RecordTimes &times, int end) const
{
    const Parts parts = partsFor(times);
    size_t count = 0;
    for (const Window &w : parts.windows) {
        const auto [first, last] = window(w);
        count += size_t(last - first);
    }
    for (const std::vector<Dated> *dates : parts.whole)
        count += dates->size();
    for (const std::vector<int> *list : parts.lists)
        count += size_t(std::lower_bound(list->begin(), list->end(), end) - list->begin());
    return count;
}

void DateWindowIndex::gather(const RecordTimes &times, int end, std::vector<int> &out) const
{
    const Parts parts = partsFor(times);
    const auto keep = [&](const Dated &d) {
        if (d.position < end)
            out.push_back(d.position);
    };
    for (const Window &w : parts.windows) {
        const auto [first, last] = window(w);
        std::for_each(first, last, keep);
    }
    for (const std::vector<Dated> *dates : parts.whole)
        std::for_each(dates->begin(), dates->end(), keep);
    for (const std::vector<int> *list : parts.lists)
        out.insert(out.end(), list->begin(), std::lower_bound(list->begin(), list->end(), end));
}
