// What the results window shows when the groups on screen run out: the choice between the
// no-result panel and the partial-match panel, their texts, and whether the lowest matching level
// is tried first. Decided without widgets; the window applies the answer.
#pragma once

#include <optional>

#include <QString>

#include "app/GlobalObjects.h"

struct NoResultHintInput {
    bool isFreshResult = false;
    bool isAfterTrash = false;
    // None when the main window's controller cannot be reached: treated as a similar scan.
    std::optional<GlobalObjects::CompareType> compareType;
    std::optional<GlobalObjects::TypeSupport> typeSupport;
    int groupCount = 0;
    // Files the scan did not compare: cloud files not fetched, files outside its dates, and files
    // under its minimum size (`minimumFileSize` bytes).
    int notFetched = 0;
    int outsideScanPeriod = 0;
    int skippedForSize = 0;
    qint64 minimumFileSize = 0;
    // Photo library items whose original file is not in the library.
    int libraryFilesMissing = 0;
    // Groups would show at a matching level below the one in force.
    bool lowerLevelHasGroups = false;
};

struct NoResultHintDecision {
    // Results: groups show at the level in force, so neither panel tells of none.
    enum class Display { Unchanged, NoResult, PartialMatch, Results };

    Display display = Display::Unchanged;
    // Keys of the texts to set; empty keys leave a label as it is.
    QString messageKey; // lblNosSimillarPhoto
    QString hintKey; // lblMatchingLevelHint
    // A hint with its counts filled in, set in place of hintKey's text.
    QString hintText;
    QString headlineKey; // lblSimilarPhotoClean
    // Visibility of the hint line; none leaves it as it was.
    std::optional<bool> hintVisible;
    // The header slider and its caption are hidden.
    bool hideHeaderSlider = false;
    // The partial-match lines that speak of a lower level (photos still there, lowering may show
    // more); none leaves them as they were.
    std::optional<bool> lowerLevelLinesVisible;
};

class NoResultHints
{
public:
    // Whether the groups are first looked for again at the lowest matching level.
    static bool needsRetry(const NoResultHintInput &input);
    // The answer; `retryFoundGroups` is the outcome of that retry (ignored when none was due).
    static NoResultHintDecision decide(const NoResultHintInput &input, bool retryFoundGroups);

    // Texts of the partial-match panel that every call sets again.
    static QString stillSimilarPhotosText();
    static QString matchingLevelText();
    static QString noteToAutoMarkText();

private:
    static bool isExact(const NoResultHintInput &input);
    static NoResultHintDecision exactNoResult(const NoResultHintInput &input);
    static NoResultHintDecision similarAfterRetry(const NoResultHintInput &input, bool found);
    // A fresh scan without results says first what it did not compare; unchanged when it compared
    // everything it found.
    static void tellWhatWasNotCompared(const NoResultHintInput &input, NoResultHintDecision &d);
};
