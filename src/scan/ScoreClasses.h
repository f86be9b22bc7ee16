// The members of one group that the pair score treats alike: the same fingerprint variants, size,
// comparability and position, and dates of the same kind; the content sum too where the pair score
// reads it (exact mode). Alike files that are not byte copies (frames of a still time-lapse, scans
// of blank pages) have sums of their own, yet score alike in a similar scan: there one class holds
// them all. Their scores against a
// record differ only by the time veto, which passes for all of them exactly when it passes for the
// earliest and the latest date of the class. So the comparison scores a record against the first
// member of each class and against its extremes: a group of thousands of copies of one picture
// costs a few scores per newcomer instead of thousands.
#pragma once

#include <cstddef>
#include <unordered_map>
#include <vector>

#include <QtGlobal>

class ImageFileInfo;

class ScoreClasses
{
public:
    struct Class {
        // Group index of the first member.
        qsizetype first = 0;
        // Members with the earliest and latest capture and creation dates (the group owns them).
        const ImageFileInfo *earliestCapture = nullptr;
        const ImageFileInfo *latestCapture = nullptr;
        const ImageFileInfo *earliestCreation = nullptr;
        const ImageFileInfo *latestCreation = nullptr;
    };

    // `comparesSums`: the pair score reads the content sums (exact mode).
    explicit ScoreClasses(bool comparesSums = false)
        : m_comparesSums(comparesSums)
    {
    }

    // Adds member number `index` of the group (members are added in group order); returns the
    // number of its class.
    size_t add(const ImageFileInfo &member, qsizetype index);
    const std::vector<Class> &classes() const { return m_classes; }

    // Every input the pair score reads of its second record is the same in both, dates apart.
    bool scoreAlike(const ImageFileInfo &a, const ImageFileInfo &b) const;

private:
    size_t scoreHash(const ImageFileInfo &record) const;
    static void widen(Class &range, const ImageFileInfo &member);

    // Hash of the score inputs to class numbers.
    std::unordered_multimap<size_t, size_t> m_byHash;
    std::vector<Class> m_classes;
    bool m_comparesSums;
};
