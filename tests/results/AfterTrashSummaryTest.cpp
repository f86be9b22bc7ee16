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

// One line per reason, three names at most; with reasons told no missing permission is guessed.
TEST(AfterTrashSummaryTest, FilesLeftInPlaceAreToldByReason)
{
    AfterTrashInput input;
    for (int i = 0; i < 5; ++i)
        input.leftInPlace.emplace_back(QStringLiteral("Dropbox/%1/y.jpg").arg(i), i < 4 ? "no Trash" : "");
    EXPECT_EQ(AfterTrashSummary::nothingMovedInformative(input).split('\n'),
        QStringList({ "• “Dropbox/0/y.jpg”, “Dropbox/1/y.jpg”, “Dropbox/2/y.jpg” — no Trash",
            "• “Dropbox/4/y.jpg” — " + localizedString("ID_NOT_MOVED_NO_REASON_GIVEN"),
            fmt("ID_FILE_LEFT_IN_PLACE_MORE", 1) }));
}

// A stopped run says so: in its message when nothing moved (no missing permission guessed), else in
// a counted line. A row: files moved, stopped, files not reached, what is said.
TEST(AfterTrashSummaryTest, TheTextsTellTheStop)
{
    const std::tuple<int, bool, int, QString> rows[]
        = { { 0, true, 3, localizedString("ID_NOTHING_WAS_MOVED_STOPPED") + '|' },
              { 2, true, 3, fmt("ID_FILES_LEFT_IN_PLACE_STOPPED", 3) },
              { 2, true, 1, fmt("ID_FILE_LEFT_IN_PLACE_STOPPED", 1) } };
    for (const auto &[moved, stopped, notReached, expected] : rows) {
        AfterTrashInput input = run(moved, TS::ALLFILES, false);
        input.stopped = stopped;
        input.notReached = notReached;
        EXPECT_EQ(AfterTrashSummary::outcome(input) == Outcome::NothingMoved
                ? AfterTrashSummary::nothingMovedMessage(input) + '|'
                    + AfterTrashSummary::nothingMovedInformative(input)
                : AfterTrashSummary::undoneLines(input).join('|'),
            expected)
            << moved << stopped << notReached;
    }
}

} // namespace
