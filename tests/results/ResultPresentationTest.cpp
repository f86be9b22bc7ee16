// Section loader, grid layout, count captions, count texts and the matching sliders at entry.
#include <gtest/gtest.h>

#include <QFont>

#include "app/LocalizedString.h"
#include "model/ImageDirectoryLoader.h"
#include "results/CountCaptions.h"
#include "results/GridFlowLayout.h"
#include "results/MatchingLevel.h"
#include "results/ResultTexts.h"
#include "results/ResultsTestRecords.h"

using Section = ImageDirectoryLoader::SectionAttributes;

struct LoaderCase
{
    QList<int> lengths;
    int files;
    bool single;
    QList<Section> sections;
};

class SectionLoader : public ::testing::TestWithParam<LoaderCase>
{
};

TEST_P(SectionLoader, BuildsSectionsFromTheWantedLengths)
{
    const LoaderCase c = GetParam();
    ImageDirectoryLoader loader;
    loader.singleSectionMode = c.single;
    loader.sectionLengthArray = c.lengths;
    QList<QUrl> urls;
    for (int i = 0; i < c.files; ++i)
        urls.append(QUrl::fromLocalFile(QStringLiteral("/p/%1.jpg").arg(i)));
    loader.loadImageFiles(urls);
    EXPECT_EQ(loader.sectionsAttributesArray, c.sections);
    EXPECT_EQ(loader.numberOfSections, c.sections.size());
    EXPECT_EQ(loader.imageFiles.size(), c.files);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, SectionLoader,
    ::testing::Values(LoaderCase{{3, 2, 4}, 9, false, {{0, 3}, {3, 2}, {5, 4}}},
                      LoaderCase{{3, 2, 4}, 7, false, {{0, 3}, {3, 2}, {5, 2}}},
                      LoaderCase{{3, 2}, 4, false, {{0, 3}, {3, 1}}}, LoaderCase{{5, 2}, 4, false, {{0, 4}}},
                      LoaderCase{{2, 2}, 9, false, {{0, 2}, {2, 2}}}, LoaderCase{{4}, 9, false, {{0, 9}}},
                      LoaderCase{{3, 2, 4}, 9, true, {{0, 9}}}, LoaderCase{{}, 0, false, {{0, 0}}}));

TEST(SectionLoader, WithoutAddressesOnlyTheSectionsAreRebuilt)
{
    ImageDirectoryLoader loader;
    loader.loadImageFiles(QList<QUrl>{QUrl::fromLocalFile("/p/a.jpg"), QUrl::fromLocalFile("/p/b.jpg")});
    EXPECT_EQ(loader.imageFiles.first().fileName, "a.jpg");
    loader.singleSectionMode = false;
    loader.sectionLengthArray = {1, 1};
    loader.loadImageFiles(std::nullopt);
    EXPECT_EQ(loader.imageFiles.size(), 2);
    EXPECT_EQ(loader.sectionsAttributesArray, (QList<Section>{{0, 1}, {1, 1}}));
}

TEST(GridLayout, FindsItemsByPositionAndBackAcrossThousandsOfSections)
{
    GridFlowLayout layout;
    layout.setSectionCounts(std::vector<int>(5000, 3));
    layout.setWidth(1000);
    EXPECT_EQ(layout.columns(), 3);
    for (int s : {0, 1, 2500, 4999}) {
        for (int i = 0; i < 3; ++i) {
            const QRectF frame = *layout.itemFrame(s, i);
            EXPECT_EQ(layout.itemAt(frame.center()), std::make_pair(s, i));
        }
        EXPECT_FALSE(layout.itemAt(layout.headerFrame(s).center())) << "headers are not items";
    }
    EXPECT_DOUBLE_EQ(layout.contentSize().height(), 5000 * (30 + 30 + 332 + 30));
    const QRectF screen(0, layout.sectionFrame(2500).top(), 1000, 700);
    const auto items = layout.itemsIn(screen);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.front(), std::make_pair(2500, 0));
    EXPECT_LE(items.size(), 9u);
}

TEST(GridLayout, HeaderStaysPinnedUntilTheNextSectionPushesIt)
{
    GridFlowLayout layout;
    layout.setSectionCounts({3, 3});
    layout.setWidth(1000);
    const QRectF section = layout.sectionFrame(0);
    EXPECT_DOUBLE_EQ(layout.pinnedHeaderFrame(0, 100).top(), 100);
    EXPECT_DOUBLE_EQ(layout.pinnedHeaderFrame(0, section.bottom()).top(), section.bottom() - 30);
}

TEST(GridLayout, ArrowNeighboursCrossSectionsAndStopAtTheEnds)
{
    GridFlowLayout layout;
    layout.setSectionCounts({5, 2});
    layout.setWidth(1000); // three columns
    using P = GridFlowLayout::Position;
    EXPECT_EQ(layout.neighbour(P{0, 1}, 0, 1), P(0, 4));
    EXPECT_EQ(layout.neighbour(P{0, 2}, 0, 1), P(0, 4)) << "a shorter last row clamps to its last item";
    EXPECT_EQ(layout.neighbour(P{0, 4}, 0, 1), P(1, 1));
    EXPECT_EQ(layout.neighbour(P{1, 0}, 0, -1), P(0, 3));
    EXPECT_EQ(layout.neighbour(P{0, 4}, 1, 0), P(1, 0));
    EXPECT_FALSE(layout.neighbour(P{1, 1}, 1, 0));
    EXPECT_FALSE(layout.neighbour(P{0, 0}, -1, 0));
}

struct CaptionCase
{
    QString text;
    QString language;
    int plainUpTo; // -1: no colon, nothing styled
    int pixelSize;
};

class Captions : public ::testing::TestWithParam<CaptionCase>
{
};

TEST_P(Captions, StyleFromTheFirstColonOn)
{
    const CaptionCase c = GetParam();
    const AttributedTitle title = CountCaptions::countText(c.text, Qt::AlignLeft, c.language);
    EXPECT_EQ(title.text, c.text);
    if (c.plainUpTo < 0) {
        EXPECT_TRUE(title.runs.isEmpty());
        EXPECT_EQ(title.alignment, Qt::Alignment());
        return;
    }
    ASSERT_EQ(title.runs.size(), 2);
    EXPECT_EQ(title.runs[0].start, c.plainUpTo);
    EXPECT_FALSE(title.runs[0].color) << "the colon is bold, not coloured";
    EXPECT_EQ(title.runs[1].start, c.plainUpTo + 1);
    EXPECT_EQ(title.runs[1].start + title.runs[1].length, c.text.size());
    EXPECT_EQ(*title.runs[1].color, QColor(13, 61, 241));
    EXPECT_EQ(title.runs[1].font->pixelSize(), c.pixelSize);
    EXPECT_TRUE(title.runs[1].font->bold());
}

INSTANTIATE_TEST_SUITE_P(Texts, Captions,
                         ::testing::Values(CaptionCase{"Found: 12", "en", 5, 14}, CaptionCase{"Found: 12", "de", 5, 12},
                                           CaptionCase{"a:b: 3", "fi", 1, 12}, CaptionCase{"12 found", "en", -1, 0},
                                           CaptionCase{"Fotos 📷: 3", "fr", 8, 12}));

TEST(Captions, HeadlineIsGreenAndLarge)
{
    const AttributedTitle title = CountCaptions::attributedHeadlineCountText("Found: 5", Qt::AlignLeft);
    ASSERT_EQ(title.runs.size(), 2);
    EXPECT_EQ(*title.runs[1].color, QColor(4, 215, 53));
    EXPECT_EQ(title.runs[1].font->pixelSize(), 24);
    EXPECT_EQ(CountCaptions::toHtml(title).left(5), "Found");
}

// The English header counts put the figure after a colon, so the caption styles exactly the figure.
TEST(Captions, EnglishHeaderCountsStyleTheirFigure)
{
    for (const QString &text : { ResultTexts::duplicatesFound(12), ResultTexts::spaceToBeSaved(2500000) }) {
        const AttributedTitle title = CountCaptions::countText(text, Qt::AlignLeft, "en");
        ASSERT_EQ(title.runs.size(), 2) << text.toStdString();
        EXPECT_TRUE(QStringList({ "12", "2.50 MB" }).contains(title.text.mid(title.runs[1].start).trimmed()));
    }
}

TEST(CountTexts, FiguresFillTheTableTexts)
{
    EXPECT_EQ(ResultTexts::sizeText(2500000), "2.50 MB");
    EXPECT_EQ(ResultTexts::duplicatesInGroups(5, 2), "5 duplicates in 2 groups");
    EXPECT_EQ(ResultTexts::duplicatesInGroups(2, 1), "2 duplicates in 1 group");
    EXPECT_EQ(ResultTexts::duplicatesInGroups(1, 1), "1 duplicate in 1 group");
    EXPECT_EQ(ResultTexts::groupTitle(0), "Duplicate Group 1");
    EXPECT_TRUE(ResultTexts::cellInfo(QDateTime(), 1000).startsWith(' ')) << "no date: the text starts at the space";
    using namespace ResultsTestRecords;
    auto videos = group({record("v", 1, 1, true), record("p", 1, 1, false)});
    videos->filterChildren = videos->children;
    EXPECT_EQ(ResultTexts::groupCount(2, *videos), "2 Videos");
    std::swap(videos->filterChildren[0], videos->filterChildren[1]);
    EXPECT_EQ(ResultTexts::groupCount(2, *videos), "2 Photos");
}

TEST(MatchingSliders, SimilarScansSetTheRangeExactScansOnlyTheValue)
{
    const MatchingSliderSetting before = MatchingLevel::initialSetting();
    const auto similar = MatchingLevel::atEntry(GlobalObjects::CompareType::ctHash, 0.94, 0.90, before);
    EXPECT_DOUBLE_EQ(similar.minimum, 0.90);
    EXPECT_DOUBLE_EQ(similar.maximum, 0.9999);
    EXPECT_DOUBLE_EQ(similar.value, 0.94);
    EXPECT_TRUE(similar.visible);
    const auto exact = MatchingLevel::atEntry(GlobalObjects::CompareType::ctMD5, 0.99, 0.90, similar);
    EXPECT_DOUBLE_EQ(exact.minimum, 0.90);
    EXPECT_DOUBLE_EQ(exact.value, 0.99);
    EXPECT_FALSE(exact.visible);
    EXPECT_DOUBLE_EQ(MatchingLevel::atEntry(GlobalObjects::CompareType::ctMD5, 1.5, 0.9, before).value, 0.9999);
}

TEST(MatchingLevel, ArrowKeysStopAtEveryLevelWithinTheRange)
{
    const std::tuple<double, double, std::vector<double>> cases[]
        = { { 0.85, 0.9999, { 0.85, 0.88, 0.90, 0.92, 0.94, 0.96, 0.98, 0.99, 0.9999 } },
              { 0.90, 0.9999, { 0.90, 0.92, 0.94, 0.96, 0.98, 0.99, 0.9999 } },
              { 0.89, 0.95, { 0.89, 0.90, 0.92, 0.94, 0.95 } }, { 0.9, 0.9, { 0.9 } } };
    for (const auto &[minimum, maximum, stops] : cases)
        EXPECT_EQ(MatchingLevel::keyStops(minimum, maximum), stops) << minimum << ' ' << maximum;
}
