// The summary after a removal run: outcome, counts, recovery line and the Photos steps pictures.
#include <gtest/gtest.h>

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
    input.os = OsProfile::current();
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
    EXPECT_FALSE(AfterTrashSummary::nothingMovedMessage().isEmpty());
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

TEST(AfterTrashSummaryTest, RecoveryLineFollowsSourceSystemAndLanguage)
{
    AfterTrashInput input = run(2, TS::ALLFILES, false);
    input.scanType = 2;
    EXPECT_EQ(AfterTrashSummary::recoveryText(input),
        formatText(localizedString(QStringLiteral("ID_IN_CASE_ANY_MISTAKE_YOU_MAY_RECOVER_FROM_BIN")),
            localizedString(QStringLiteral("ID_DROPBOX"))));
    input.scanType = 0;
    EXPECT_TRUE(AfterTrashSummary::recoveryText(input).contains(QStringLiteral("Photos/Finder")));
    input.os = OsProfile {};
    input.os.isOS1013Or1014 = true;
    EXPECT_EQ(AfterTrashSummary::recoveryText(input),
        formatText(localizedString(QStringLiteral("ID_IN_CASE_ANY_MISTAKE_YOU_MAY_RECOVER")),
            QStringLiteral("Photos")));
    input.isPhotosLibAdded = true;
    input.isPhotosLibrayMarkedForTrash = true;
    EXPECT_TRUE(AfterTrashSummary::rateButtonsHidden(input));
}

TEST(AfterTrashSummaryTest, StepPicturesFollowTheSystemProfile)
{
    OsProfile os15;
    os15.isOS15OrLater = os15.isOS14OrLater = os15.isOS13OrLater = os15.isOS11OrLater = true;
    EXPECT_EQ(AfterTrashSummary::illustration(os15, "de").frameImage, "osxM15-step3_de_frame");
    OsProfile os12;
    os12.isOS11OrLater = true;
    EXPECT_EQ(AfterTrashSummary::illustration(os12, "en").lensImage, "osx16-step3_en_lens_nav");
    OsProfile catalina;
    catalina.isOS1015 = true;
    EXPECT_EQ(AfterTrashSummary::illustration(catalina, "es").picture, QRectF(100, 5, 470, 274));
    EXPECT_EQ(AfterTrashSummary::illustration(catalina, "es").markerOne, QRectF(90, 180, 24, 24));
    EXPECT_EQ(AfterTrashSummary::illustration(catalina, "de").picture, QRectF(144, 0, 436, 284));
    EXPECT_TRUE(AfterTrashSummary::step3ImageHidden(OsProfile {}));
}

TEST(AfterTrashSummaryTest, TallerStepTwoPushesStepThreeDown)
{
    const StepLayout shortText = AfterTrashSummary::stepLayout(300, 250, 30, 16, 16, 40);
    const StepLayout tallText = AfterTrashSummary::stepLayout(300, 250, 30, 48, 16, 40);
    EXPECT_EQ(shortText.step2Y + shortText.step2Height + 2, 250);
    EXPECT_EQ(tallText.step2Y + tallText.step2Height + 2, 250);
    EXPECT_EQ(shortText.step3Y - tallText.step3Y, 32);
    EXPECT_EQ(shortText.step3ImageY - tallText.step3ImageY, 32);
}

} // namespace
