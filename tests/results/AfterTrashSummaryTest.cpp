// The summary after a removal run: outcome, counts, recovery line and the library steps.
#include <gtest/gtest.h>

#include <tuple>

#include "app/LocalizedString.h"
#include "platform/TextFormat.h"
#include "results/AfterTrashSummary.h"

namespace
{

using TS = GlobalObjects::TypeSupport;
using Outcome = AfterTrashSummary::Outcome;

QString fmt(const char *key, int n)
{
    return formatText(localizedString(QString::fromLatin1(key)), n);
}

AfterTrashInput run(int count, TS types, bool photos, const QString &language = QStringLiteral("en"))
{
    AfterTrashInput input;
    input.countTrashed = count;
    input.sizeTrashed = std::uint64_t(count) * 1500000;
    input.deletedFileTypes = types;
    input.isPhotosLibrayMarkedForTrash = photos;
    input.languageCode = language;
    return input;
}

TEST(AfterTrashSummaryTest, EverythingMovedToTheTrashGivesTheTrashSummary)
{
    AfterTrashInput input = run(5, TS::ALLFILES, false);
    input.nothingLeft = true;
    input.uniquePhotosReatined = 4;
    EXPECT_EQ(AfterTrashSummary::outcome(input), Outcome::TrashSummary);
    EXPECT_TRUE(AfterTrashSummary::isAllTrashed(input));
    const TrashSummaryTexts t = AfterTrashSummary::trashSummaryTexts(input);
    EXPECT_EQ(t.totalDupsCleaned, fmt("ID_DUPLICATE_PHOTOS_VIDEOS_CLEANED_COUNT", 5));
    EXPECT_EQ(t.duplicatesRemoved, localizedString(QStringLiteral("ID_DUPLICATES_REMOVED")));
    EXPECT_EQ(t.trashCount, "5");
    EXPECT_EQ(t.trashedSize, "7.50 MB");
    EXPECT_EQ(t.uniqueRetained, "4");
}

TEST(AfterTrashSummaryTest, PartOfTheMarkedFilesLeavesResultsAndSingularWording)
{
    AfterTrashInput input = run(1, TS::ONLYVIDEO, false);
    EXPECT_EQ(AfterTrashSummary::outcome(input), Outcome::TrashSummary);
    EXPECT_FALSE(AfterTrashSummary::isAllTrashed(input));
    const TrashSummaryTexts t = AfterTrashSummary::trashSummaryTexts(input);
    EXPECT_EQ(t.totalDupsCleaned, fmt("ID_DUPLICATE_VIDEO_CLEANED_COUNT", 1));
    EXPECT_EQ(t.duplicatesRemoved, localizedString(QStringLiteral("ID_DUPLICATE_REMOVED")));
}

TEST(AfterTrashSummaryTest, NothingMovedIsTheSameMessageInEveryLanguageAndOutcome)
{
    for (const QString &language : { QStringLiteral("en"), QStringLiteral("de"), QStringLiteral("ja") }) {
        for (bool photos : { false, true }) {
            EXPECT_EQ(
                AfterTrashSummary::outcome(run(0, TS::ALLFILES, photos, language)), Outcome::NothingMoved);
        }
    }
    EXPECT_FALSE(AfterTrashSummary::nothingMovedMessage({}).isEmpty());
}

TEST(AfterTrashSummaryTest, PhotosAlbumCountsFollowTypesAndNumber)
{
    EXPECT_EQ(AfterTrashSummary::movedCountText(run(1, TS::ONLYIMAGES, true)), fmt("ID_PHOTO_MOVED", 1));
    EXPECT_EQ(AfterTrashSummary::movedCountText(run(2, TS::ONLYIMAGES, true)), fmt("ID_PHOTOS_MOVED", 2));
    EXPECT_EQ(
        AfterTrashSummary::movedCountText(run(1, TS::ALLFILES, true)), fmt("ID_PHOTOS_VIDEOS_MOVED", 1));
    EXPECT_EQ(AfterTrashSummary::movedCountText(run(3, TS::ONLYVIDEO, true)), fmt("ID_VIDEOS_MOVED", 3));
    EXPECT_EQ(AfterTrashSummary::outcome(run(2, TS::ONLYIMAGES, true)), Outcome::PhotosSummary);
}

// The source's own bin; on this computer no photo application, file viewer or settings of another
// system is named.
TEST(AfterTrashSummaryTest, RecoveryLineAndLibraryStepsSpeakOfTheSource)
{
    AfterTrashInput input = run(2, TS::ALLFILES, true);
    input.scanType = ScanSource::dropbox;
    EXPECT_EQ(AfterTrashSummary::recoveryText(input),
        localizedString(QStringLiteral("ID_DROPBOX_RESTORE_DELETED")));
    input.scanType = ScanSource::thisComputer;
    for (const QString &line : { AfterTrashSummary::recoveryText(input), AfterTrashSummary::step2Text(),
             AfterTrashSummary::step3Text() }) {
        EXPECT_FALSE(line.isEmpty());
        for (const char *other : { "Photos application", "Finder", "Command", "System Settings" })
            EXPECT_FALSE(line.contains(QLatin1String(other))) << qPrintable(line);
    }
}

// Each file on a line of its own under its reason, every one of them, those that may still go
// first; the lines above the list name no file, and with reasons told no missing permission is
// guessed.
TEST(AfterTrashSummaryTest, FilesLeftInPlaceAreListedByReason)
{
    AfterTrashInput input;
    for (int i = 0; i < 12; ++i)
        input.leftInPlace.emplace_back(QStringLiteral("Dropbox/%1/y.jpg").arg(i), i < 11 ? "no Trash" : "");
    input.underWay = { { "nas/S1.jpg", "may still go" } };
    const LeftInPlaceList left = AfterTrashSummary::leftInPlace(input);
    ASSERT_EQ(left.reasons.size(), 3u);
    EXPECT_EQ(left.reasons[0].why, "may still go");
    EXPECT_EQ(left.reasons[0].paths, QStringList { "nas/S1.jpg" });
    EXPECT_EQ(left.reasons[1].paths.size(), 11);
    EXPECT_EQ(left.reasons[2].why, localizedString("ID_NOT_MOVED_NO_REASON_GIVEN"));
    EXPECT_TRUE(AfterTrashSummary::nothingMovedLines(input).isEmpty());
}

// A stopped run says so: in its message when nothing moved (no missing permission guessed), never
// that nothing moved while a move may still end; else in a counted line. A row: files moved, files
// not reached, files under way, what is said.
TEST(AfterTrashSummaryTest, TheTextsTellTheStop)
{
    const std::tuple<int, int, int, QString> rows[]
        = { { 0, 3, 0, localizedString("ID_NOTHING_WAS_MOVED_STOPPED") + '|' },
              { 0, 2, 1,
                  localizedString("ID_NOTHING_MOVED_YET_STOPPED") + '|'
                      + fmt("ID_FILES_LEFT_IN_PLACE_STOPPED", 2) },
              { 2, 3, 0, fmt("ID_FILES_LEFT_IN_PLACE_STOPPED", 3) },
              { 2, 1, 1, fmt("ID_FILE_LEFT_IN_PLACE_STOPPED", 1) } };
    for (const auto &[moved, notReached, underWay, expected] : rows) {
        AfterTrashInput input = run(moved, TS::ALLFILES, false);
        input.stopped = true;
        input.notReached = notReached;
        input.underWay.assign(size_t(underWay), { "nas/S1.jpg", "may still go" });
        EXPECT_EQ(AfterTrashSummary::outcome(input) == Outcome::NothingMoved
                ? AfterTrashSummary::nothingMovedMessage(input) + '|'
                    + AfterTrashSummary::nothingMovedLines(input).join('|')
                : AfterTrashSummary::undoneLines(input).join('|'),
            expected)
            << moved << notReached << underWay;
    }
}

} // namespace
