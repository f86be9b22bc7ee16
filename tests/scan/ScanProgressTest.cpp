// What the scan sheet shows for a progress report.
#include <gtest/gtest.h>

#include "app/LocalizedString.h"
#include "scan/ScanProgressTexts.h"

struct RingCase {
    ScanProgress::Stage stage;
    int records;
    int hashed;
    int compared;
    double prog;
    const char *percent;
};

class RingTest : public ::testing::TestWithParam<RingCase>
{
};

TEST_P(RingTest, FractionAndPercentText)
{
    const RingCase &c = GetParam();
    ScanProgress p;
    p.stage = c.stage;
    p.fraction = ScanProgress::ringFraction(c.stage, c.records, c.hashed, c.compared, c.prog);
    EXPECT_EQ(ScanProgressTexts::forProgress(p).lblScanPer, QString::fromLatin1(c.percent));
}

INSTANTIATE_TEST_SUITE_P(Stages, RingTest,
    ::testing::Values(RingCase { ScanProgress::Stage::Adding, 500, 0, 0, 0, "2%" },
        RingCase { ScanProgress::Stage::Adding, 501, 0, 0, 0, "3%" },
        RingCase { ScanProgress::Stage::Adding, 2001, 0, 0, 0, "5%" },
        RingCase { ScanProgress::Stage::Hashing, 1000, 500, 0, 0.03, "28%" },
        RingCase { ScanProgress::Stage::Comparing, 1000, 1000, 400, 0.03, "63%" }));

TEST(ScanProgressTextsTest, EachStageGivesAllItsTexts)
{
    ScanProgress p;
    p.recordCount = 12;
    p.path = QStringLiteral("/photos/a.jpg");
    const ScanProgressTexts adding = ScanProgressTexts::forProgress(p);
    EXPECT_EQ(adding.lblAdd, localizedString("ID_ADDING"));
    EXPECT_EQ(adding.lblPhotosAddedCount, QStringLiteral("12"));
    EXPECT_EQ(adding.lblScanPath, localizedString("ID_SCANPATH") + QStringLiteral(": /photos/a.jpg"));
    EXPECT_EQ(adding.lblPhotosAdded, localizedString("ID_PHOTOS_ADDED"));

    p.stage = ScanProgress::Stage::Hashing;
    p.withVideos = true;
    p.hashed = 5;
    const ScanProgressTexts hashing = ScanProgressTexts::forProgress(p);
    EXPECT_EQ(hashing.lblPhotosAddedCount, QStringLiteral("5/12"));
    EXPECT_EQ(hashing.lblPhotosAdded, localizedString("ID_PROCESSED_PHOTOS_VIDEOS"));
    // The title of the searching stage survives even when its own report was coalesced away.
    EXPECT_EQ(hashing.lblAddingPhotos, localizedString("ID_SEARCHING_DUPLICATES"));
    EXPECT_TRUE(hashing.showPleaseBePatient);

    p.stage = ScanProgress::Stage::Comparing;
    const ScanProgressTexts comparing = ScanProgressTexts::forProgress(p);
    EXPECT_FALSE(comparing.lblScanPath->contains(QStringLiteral("...")));
    EXPECT_TRUE(comparing.lblScanPath->endsWith(QStringLiteral(": /photos/a.jpg")));
    EXPECT_EQ(comparing.lblAddingPhotos, localizedString("ID_COMARING_PHOTOS_VIDEOS"));
    EXPECT_FALSE(localizedString("ID_COMPARING").isEmpty());
}

// The "Photos compared" row has a figure from the first report on, not only once comparing starts.
TEST(ScanProgressTextsTest, EveryStageGivesTheComparedCount)
{
    const std::pair<ScanProgress::Stage, const char *> stages[] = { { ScanProgress::Stage::Adding, "0" },
        { ScanProgress::Stage::Searching, "0/12" }, { ScanProgress::Stage::Hashing, "0/12" },
        { ScanProgress::Stage::Reading, "0/12" }, { ScanProgress::Stage::Comparing, "7/12" } };
    for (const auto &[stage, shown] : stages) {
        ScanProgress p;
        p.stage = stage;
        p.recordCount = 12;
        p.compared = stage == ScanProgress::Stage::Comparing ? 7 : 0;
        EXPECT_EQ(ScanProgressTexts::forProgress(p).lblPhotosComparedCount, QString::fromLatin1(shown))
            << int(stage);
    }
}
