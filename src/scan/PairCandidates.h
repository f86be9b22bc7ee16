// For each record of the parallel comparison, the earlier records it scores at or above the
// grouping threshold against, with those scores. Scores here leave the time veto out (the
// placement applies it per group): records alike then score alike, so only the first record of
// each kind is scored as the earlier one of a pair. The scoring of a chunk of records runs on every
// core; the first-fit placement then only looks the scores up, so it gives the straight loop's
// groups exactly. The first records of each kind are walked in tiles so that the sketches of one
// tile are read from the cache by a whole block of records instead of from memory by each; the
// word counts of a whole tile are checked in one call, and only the records they leave are scored. A record
// whose partners the time test bounds meets only the records dated within reach (DateWindowIndex), when they
// are few.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "scan/DateWindowIndex.h"
#include "scan/FingerprintSketches.h"
#include "scan/PairScore.h"
#include "scan/SketchColumns.h"

class ImageFileInfo;

class PairCandidates
{
public:
    struct Candidate {
        // Position of the earlier record, in the order the records were added.
        int position;
        float score;
    };
    using List = std::vector<Candidate>;

    // `sketches` is only read while scoring, and only when `prefilter` is set.
    PairCandidates(const FingerprintSketches &sketches, const PairScoreOptions &options, bool prefilter);

    // Appends a record (with its sketch slot, the position of the first record of its kind and its
    // dates); returns its position.
    int add(const ImageFileInfo &record, int slot, int kind, const RecordTimes &times);
    int count() const { return int(m_records.size()); }
    int slotAt(int position) const { return m_slots[size_t(position)]; }
    const RecordTimes &timesAt(int position) const { return m_times[size_t(position)]; }

    // The candidate lists of positions [first, end), each in ascending position order, computed on
    // `threads` threads (the calling one among them). Once `stopped` turns true the remaining
    // blocks are skipped and the lists are incomplete.
    std::vector<List> score(int first, int end, int threads, const std::function<bool()> &stopped);

    // Score of `position` in a list, or -1 when it is not there.
    static float scoreIn(const List &list, int position);

private:
    // Appends the columns of the kinds added since the last call.
    void settleColumns();
    void scoreBlock(int first, int end, std::vector<List> &lists, int listBase) const;
    // Scores the record at `position` against those of the sketched kinds [first, end) before it
    // whose word counts come near.
    void scoreTile(int position, const SketchColumns::Probe &probe, size_t first, size_t end, List &list,
        SketchColumns::NearList &near) const;
    // Scores the records at `positions` (of the block starting at `first`) against the columns
    // [begin, end), all before them, read once for all.
    void scoreTogether(std::span<const int> positions, const std::vector<SketchColumns::Probe> &probes,
        int first, size_t begin, size_t end, std::vector<List> &lists, int listBase) const;
    // The first column of the sketched kind at `index` (the end of the columns past the last).
    size_t columnOf(size_t index) const;
    // Scores the record at `position` against the kinds of the records dated within its reach;
    // false when that would not save enough to pay for itself.
    bool scoreDated(int position, List &list, std::vector<int> &kinds) const;
    void scorePair(int position, int earlier, List &list,
        std::uint8_t variants = FingerprintSketches::kAllVariants) const;

    const FingerprintSketches &m_sketches;
    PairScoreOptions m_options;
    bool m_prefilter;
    std::int64_t m_allowed;
    std::vector<const ImageFileInfo *> m_records;
    std::vector<RecordTimes> m_times;
    std::vector<int> m_slots;
    std::vector<int> m_kinds;
    // The first record of each kind: those with sketches, and the others, each in position order;
    // the word counts of the sketched ones as columns, and where each one's columns begin.
    std::vector<int> m_sketchedKinds;
    SketchColumns m_columns;
    std::vector<size_t> m_kindColumns;
    std::vector<int> m_otherKinds;
    DateWindowIndex m_dates;
};
