// The records of the parallel comparison by their dates, so that a record whose partners the time
// test bounds meets only the records it can pass that test with: those dated within the limit of
// its own date and those the test does not apply to. Which date the test reads depends on which
// dates both records have, so each kind of record is kept apart: valid capture dates and creation
// dates sorted by date, the rest (invalid capture dates, no dates) as plain lists.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "scan/PairScore.h"

class DateWindowIndex
{
public:
    explicit DateWindowIndex(const PairScoreOptions &options);

    // Files the record at `position` (positions are added in increasing order).
    void add(const RecordTimes &times, int position);
    // Sorts what was added since the last call in among the rest; before any query.
    void settle();

    // True when the time test bounds the dates of every dated partner of a record with `times`.
    bool narrows(const RecordTimes &times) const;
    // How many positions below `end` `gather` would look at at most.
    size_t reach(const RecordTimes &times, int end) const;
    // Appends the positions below `end` a record with `times` may pass the time test with (some
    // just beyond the limit among them); for a record that `narrows`, every other position below
    // `end` fails it.
    void gather(const RecordTimes &times, int end, std::vector<int> &out) const;

private:
    struct Dated {
        std::int64_t ms;
        int position;
        bool operator<(const Dated &other) const
        {
            return ms != other.ms ? ms < other.ms : position < other.position;
        }
    };
    // Where a record's partners are: within the limit of a date in sorted dates, or anywhere in
    // sorted dates or lists the test passes for whatever the dates.
    struct Window {
        const std::vector<Dated> *dates;
        std::int64_t ms;
    };
    struct Parts {
        std::vector<Window> windows;
        std::vector<const std::vector<Dated> *> whole;
        std::vector<const std::vector<int> *> lists;
    };

    Parts partsFor(const RecordTimes &times) const;
    static void settle(std::vector<Dated> &dated, size_t &settled);

    // The dates within the limit of `ms`.
    std::pair<std::vector<Dated>::const_iterator, std::vector<Dated>::const_iterator> window(
        const Window &w) const;

    bool m_bounded;
    bool m_creationRule;
    std::int64_t m_limitMs;
    // Valid capture dates; creation dates of records with and without a capture date.
    std::vector<Dated> m_capture;
    std::vector<Dated> m_createdCaptured;
    std::vector<Dated> m_createdOnly;
    size_t m_settled[3] = { 0, 0, 0 };
    // Positions with an invalid capture date; with a capture date but no creation date; with none.
    std::vector<int> m_invalidCapture;
    std::vector<int> m_capturedUncreated;
    std::vector<int> m_undated;
};
