// Decision of the hint panels.
#include "results/NoResultHints.h"

#include <QStringList>

#include "app/CommonFunc.h"
#include "app/LocalizedString.h"
#include "platform/TextFormat.h"

using Display = NoResultHintDecision::Display;
using TypeSupport = GlobalObjects::TypeSupport;

bool NoResultHints::isExact(const NoResultHintInput &input)
{
    return input.compareType == GlobalObjects::CompareType::ctMD5;
}

bool NoResultHints::needsRetry(const NoResultHintInput &input)
{
    return input.groupCount == 0 && (input.isFreshResult || input.isAfterTrash) && !isExact(input);
}

NoResultHintDecision NoResultHints::decide(const NoResultHintInput &input, bool retryFoundGroups)
{
    const bool levelMoved = !input.isFreshResult && !input.isAfterTrash;
    if (input.groupCount > 0) {
        NoResultHintDecision d;
        // A level the user moved to shows groups: nothing is missing at it.
        if (levelMoved)
            d.display = Display::Results;
        return d;
    }
    if (levelMoved) {
        NoResultHintDecision partial;
        partial.display = Display::PartialMatch;
        partial.headlineKey = QStringLiteral("ID_NO_SIMILAR_PHOTOS_AT_MATCHING_LEVEL");
        partial.lowerLevelLinesVisible = input.lowerLevelHasGroups;
        return partial;
    }
    NoResultHintDecision d = isExact(input) ? exactNoResult(input) : similarAfterRetry(input, retryFoundGroups);
    if (d.display == Display::NoResult && input.isFreshResult)
        tellWhatWasNotCompared(input, d);
    return d;
}

void NoResultHints::tellWhatWasNotCompared(const NoResultHintInput &input, NoResultHintDecision &d)
{
    QStringList hints;
    if (input.notFetched > 0)
        hints.append(formatText(
            localizedCountText(input.notFetched, "ID_HINT_FILE_NOT_FETCHED", "ID_HINT_FILES_NOT_FETCHED"),
            input.notFetched));
    if (input.outsideScanPeriod > 0)
        hints.append(formatText(localizedCountText(input.outsideScanPeriod, "ID_HINT_FILE_OUTSIDE_SCAN_PERIOD",
                                    "ID_HINT_FILES_OUTSIDE_SCAN_PERIOD"),
            input.outsideScanPeriod));
    if (input.skippedForSize > 0)
        hints.append(formatText(localizedCountText(input.skippedForSize, "ID_HINT_FILE_UNDER_MINIMUM_SIZE",
                                    "ID_HINT_FILES_UNDER_MINIMUM_SIZE"),
            input.skippedForSize,
            CommonFunc::formattedSize(QVariant::fromValue(quint64(input.minimumFileSize))),
            localizedString(QStringLiteral("ID_FILTER_SORT"))));
    if (input.libraryFilesMissing > 0)
        hints.append(formatText(localizedCountText(input.libraryFilesMissing, "ID_HINT_LIBRARY_FILE_MISSING",
                                    "ID_HINT_LIBRARY_FILES_MISSING"),
            input.libraryFilesMissing));
    if (hints.isEmpty())
        return;
    d.hintText = hints.join(QLatin1Char('\n'));
    d.hintVisible = true;
}

NoResultHintDecision NoResultHints::exactNoResult(const NoResultHintInput &input)
{
    const bool fresh = input.isFreshResult;
    const TypeSupport type = input.typeSupport.value_or(TypeSupport::ALLFILES);
    NoResultHintDecision d;
    d.display = Display::NoResult;
    // Exact comparison has no matching level to lower.
    d.hintKey = fresh ? QStringLiteral("ID_HINT_TRY_SIMILAR_COMPARISION")
                      : QStringLiteral("ID_HINT_CHANGE_COMPARISION_SETTING_AND_SCAN");
    d.hintVisible = type != TypeSupport::ONLYVIDEO;
    switch (type) {
    case TypeSupport::ONLYIMAGES:
        d.messageKey = fresh ? QStringLiteral("ID_NO_DUPLICATE_PHOTOS_FOUND")
                             : QStringLiteral("ID_ALL_DUPLICATES_DELETED");
        break;
    case TypeSupport::ONLYVIDEO:
        d.messageKey = fresh ? QStringLiteral("ID_NO_DUPLICATE_VIDEOS_FOUND")
                             : QStringLiteral("ID_ALL_DUPLICATE_VIDEOS_DELETED");
        break;
    case TypeSupport::ALLFILES:
        d.messageKey = fresh ? QStringLiteral("ID_NO_DUPLICATE_PHOTOS_VIDEOS_FOUND")
                             : QStringLiteral("ID_ALL_DUPLICATE_VIDEOS_PHOTOS_DELETED");
        break;
    }
    return d;
}

NoResultHintDecision NoResultHints::similarAfterRetry(const NoResultHintInput &input, bool found)
{
    const bool fresh = input.isFreshResult;
    NoResultHintDecision d;
    if (found) {
        // The retry has moved the sliders to their lowest and shows what it found there: the
        // headline says so, and no line offers a level lower still.
        d.display = Display::PartialMatch;
        d.headlineKey = fresh ? QStringLiteral("ID_NO_SIMILAR_PHOTOS_AT_SCAN_LEVEL_SHOWN_AT_LOWEST")
                              : QStringLiteral("ID_PHOTOS_CLEANED_SHOWN_AT_LOWEST_LEVEL");
        d.lowerLevelLinesVisible = false;
        return d;
    }
    d.display = Display::NoResult;
    d.hideHeaderSlider = true;
    d.messageKey = fresh ? QStringLiteral("ID_NO_SIMILAR_PHOTOS_FOUND")
                         : QStringLiteral("ID_ALL_SIMILAR_PHOTOS_DELETED");
    d.hintKey = fresh ? QStringLiteral("ID_HINT_TRY_DIFFERENT_COMPARISION")
                      : QStringLiteral("ID_HINT_SCAN_MORE_PHOTOS_FOR_DULICACY");
    return d;
}

QString NoResultHints::stillSimilarPhotosText()
{
    return localizedString(QStringLiteral("ID_THERE_ARE_STILL_SIMILAR_PHOTOS"));
}

QString NoResultHints::matchingLevelText()
{
    return localizedString(QStringLiteral("ID_MATCHING_LEVEL"));
}

QString NoResultHints::noteToAutoMarkText()
{
    return localizedString(QStringLiteral("ID_NOTE_REDUCE_MATCH_LEVEL_MAY_PRESENT_PHOTOS"));
}
