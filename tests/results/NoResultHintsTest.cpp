// The choice of hint panel and texts when the groups on screen run out.
#include <gtest/gtest.h>

#include "results/NoResultHints.h"

namespace
{

using CT = GlobalObjects::CompareType;
using TS = GlobalObjects::TypeSupport;
using Display = NoResultHintDecision::Display;

struct HintCase {
    const char *name;
    bool fresh, afterTrash;
    std::optional<CT> compare;
    std::optional<TS> type;
    int groups;
    bool retryFound;
    bool expectRetry;
    Display display;
    const char *message, *hint, *headline;
    std::optional<bool> hintVisible;
    bool hideSlider;
};

class NoResultHintsTest : public ::testing::TestWithParam<HintCase>
{
};

TEST_P(NoResultHintsTest, DecidesPanelAndTexts)
{
    const HintCase &c = GetParam();
    const NoResultHintInput input { c.fresh, c.afterTrash, c.compare, c.type, c.groups };
    EXPECT_EQ(NoResultHints::needsRetry(input), c.expectRetry);
    const NoResultHintDecision d = NoResultHints::decide(input, c.retryFound);
    EXPECT_EQ(d.display, c.display);
    EXPECT_EQ(d.messageKey, QString::fromLatin1(c.message));
    EXPECT_EQ(d.hintKey, QString::fromLatin1(c.hint));
    EXPECT_EQ(d.headlineKey, QString::fromLatin1(c.headline));
    EXPECT_EQ(d.hintVisible, c.hintVisible);
    EXPECT_EQ(d.hideHeaderSlider, c.hideSlider);
}

const std::optional<bool> kLeave;

INSTANTIATE_TEST_SUITE_P(Table, NoResultHintsTest,
    ::testing::Values(HintCase { "freshWithGroups", true, false, CT::ctHash, TS::ALLFILES, 3, false, false,
                          Display::Unchanged, "", "", "", kLeave, false },
        HintCase { "exactNoGroupsImages", true, false, CT::ctMD5, TS::ONLYIMAGES, 0, false, false,
            Display::NoResult, "ID_NO_DUPLICATE_PHOTOS_FOUND", "ID_HINT_TRY_SIMILAR_COMPARISION", "", true,
            false },
        HintCase { "exactOnlyVideosHidesHint", true, false, CT::ctMD5, TS::ONLYVIDEO, 0, false, false,
            Display::NoResult, "ID_NO_DUPLICATE_VIDEOS_FOUND", "ID_HINT_TRY_SIMILAR_COMPARISION", "", false,
            false },
        HintCase { "exactUnsetTypeIsAllFiles", true, false, CT::ctMD5, std::nullopt, 0, false, false,
            Display::NoResult, "ID_NO_DUPLICATE_PHOTOS_VIDEOS_FOUND", "ID_HINT_TRY_SIMILAR_COMPARISION", "",
            true, false },
        HintCase { "similarGroupsOnlyBelowLevel", true, false, CT::ctHash, TS::ALLFILES, 0, true, true,
            Display::PartialMatch, "", "", "ID_NO_SIMILAR_PHOTOS_AT_SCAN_LEVEL_SHOWN_AT_LOWEST", kLeave,
            false },
        HintCase { "similarNothingAtAll", true, false, CT::ctHash, TS::ALLFILES, 0, false, true,
            Display::NoResult, "ID_NO_SIMILAR_PHOTOS_FOUND", "ID_HINT_TRY_DIFFERENT_COMPARISION", "", kLeave,
            true },
        HintCase { "unknownModeCountsAsSimilar", true, false, std::nullopt, TS::ALLFILES, 0, false, true,
            Display::NoResult, "ID_NO_SIMILAR_PHOTOS_FOUND", "ID_HINT_TRY_DIFFERENT_COMPARISION", "", kLeave,
            true },
        HintCase { "afterTrashExactAllVideos", false, true, CT::ctMD5, TS::ONLYVIDEO, 0, false, false,
            Display::NoResult, "ID_ALL_DUPLICATE_VIDEOS_DELETED",
            "ID_HINT_CHANGE_COMPARISION_SETTING_AND_SCAN", "", false, false },
        HintCase { "afterTrashSimilarRetryFinds", false, true, CT::ctHash, TS::ALLFILES, 0, true, true,
            Display::PartialMatch, "", "", "ID_PHOTOS_CLEANED_SHOWN_AT_LOWEST_LEVEL", kLeave, false },
        HintCase { "afterTrashSimilarNothingLeft", false, true, CT::ctHash, TS::ALLFILES, 0, false, true,
            Display::NoResult, "ID_ALL_SIMILAR_PHOTOS_DELETED", "ID_HINT_SCAN_MORE_PHOTOS_FOR_DULICACY", "",
            kLeave, true },
        HintCase { "sliderMovedTooHighExact", false, false, CT::ctMD5, TS::ALLFILES, 0, false, false,
            Display::PartialMatch, "", "", "ID_NO_SIMILAR_PHOTOS_AT_MATCHING_LEVEL", kLeave, false },
        HintCase { "sliderMovedWithGroups", false, false, CT::ctHash, TS::ALLFILES, 2, false, false,
            Display::Results, "", "", "", kLeave, false }),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace

// A fresh scan that found nothing says what it did not compare, whatever the comparison: never
// "no duplicates" alone. After a removal the counts are old news.
TEST(NoResultHintsNotCompared, TheHintTellsWhatTheScanLeftOut)
{
    const std::tuple<bool, CT, TS, int, int, const char *> rows[] = {
        { true, CT::ctMD5, TS::ONLYVIDEO, 3, 0, "Hint: 3 files could not be fetched" },
        { true, CT::ctHash, TS::ALLFILES, 2, 1, "be reached.\nHint: 1 file lies outside the period" },
        { false, CT::ctMD5, TS::ALLFILES, 2, 1, "" },
    };
    for (const auto &[fresh, compare, type, notFetched, outside, says] : rows) {
        NoResultHintInput input { fresh, !fresh, compare, type, 0, notFetched, outside };
        const NoResultHintDecision d = NoResultHints::decide(input, false);
        EXPECT_TRUE(*says ? d.hintText.contains(says) && d.hintVisible == true : d.hintText.isEmpty())
            << d.hintText.toStdString();
    }
}

TEST(NoResultHintsNotCompared, FilesUnderTheMinimumSizeAreToldNotALowerLevel)
{
    EXPECT_TRUE(NoResultHints::decide({ true, false, CT::ctHash, TS::ALLFILES, 0, 0, 0, 4, 2000 }, false)
                    .hintText.startsWith(
                        "Hint: 4 files were left out as smaller than the minimum file size of 2 KB"));
}

// Items of a photo library whose file is not in it had nothing to compare: no matching level
// would have found them.
TEST(NoResultHintsNotCompared, LibraryItemsWithoutTheirFileAreToldNotALowerLevel)
{
    const std::pair<int, const char *> rows[]
        = { { 1, "Hint: one item of the photo library was not compared" },
              { 5, "Hint: 5 items of the photo library were not compared" } };
    for (const auto &[missing, says] : rows) {
        const NoResultHintInput input { true, false, CT::ctHash, TS::ALLFILES, 0, 0, 0, 0, 0, missing };
        const NoResultHintDecision d = NoResultHints::decide(input, false);
        EXPECT_TRUE(d.hintText.startsWith(says)) << d.hintText.toStdString();
        EXPECT_EQ(d.hintVisible, true);
    }
}
