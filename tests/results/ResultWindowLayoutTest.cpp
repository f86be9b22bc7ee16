// Per-language corrections of the results window as functions of language and widths.
#include <gtest/gtest.h>

#include "results/ResultWindowLayout.h"

namespace
{

QStringList controlsChanged(const std::vector<LayoutRule> &table, const QString &language)
{
    QStringList names;
    for (const LayoutRule &rule : ResultWindowLayout::rulesFor(table, language))
        names += rule.controls;
    return names;
}

TEST(ResultWindowLayoutTest, EnglishAndUnnamedLanguagesGetNoFixedCorrections)
{
    for (const QString &language : { QStringLiteral("en"), QStringLiteral("ja"), QStringLiteral("nb") }) {
        EXPECT_TRUE(controlsChanged(ResultWindowLayout::buttonFontsAndTitlesRules(), language).isEmpty());
        EXPECT_TRUE(controlsChanged(ResultWindowLayout::fontsAndFramesRules(), language).isEmpty());
        EXPECT_TRUE(controlsChanged(ResultWindowLayout::constructionRules(), language).isEmpty());
    }
}

TEST(ResultWindowLayoutTest, RussianCollectsItsOwnAndSharedRowsInOrder)
{
    const auto rules = ResultWindowLayout::rulesFor(ResultWindowLayout::fontsAndFramesRules(), "ru");
    double previousDx = 0;
    for (const LayoutRule &rule : rules) {
        if (rule.controls.contains("btnPreviousForPhotosApp"))
            previousDx += rule.change.dx;
    }
    EXPECT_EQ(previousDx, -30);
    EXPECT_TRUE(
        controlsChanged(ResultWindowLayout::buttonFontsAndTitlesRules(), "ru").contains("lblSpaceSavedSize"));
}

TEST(ResultWindowLayoutTest, FrenchMovesTheSliderAndGermanEnlargesTheHeadline)
{
    EXPECT_EQ(ResultWindowLayout::sliderMatchingLevelFrame("fr"), QRectF(818, 12, 147, 24));
    EXPECT_EQ(ResultWindowLayout::sliderMatchingLevelFrame("de"), QRectF(818, 10, 147, 24));
    const auto de = ResultWindowLayout::rulesFor(ResultWindowLayout::buttonFontsAndTitlesRules(), "de");
    ASSERT_FALSE(de.empty());
    EXPECT_EQ(de.front().controls, QStringList { "lblDuplicatePhotosFound" });
    EXPECT_EQ(de.front().change.fontSize, 20);
    EXPECT_TRUE(de.front().change.bold);
}

TEST(ResultWindowLayoutTest, ToolbarFlowsFromMeasuredWidths)
{
    EXPECT_FALSE(ResultWindowLayout::layoutTopToolbar(ToolbarInput { "en" }).has_value());
    ToolbarInput ja { "ja", 40, 60, 60, 60, 60, 90, 120, 1000 };
    const ToolbarLayout t = *ResultWindowLayout::layoutTopToolbar(ja);
    EXPECT_EQ(t.autoMarkWidth, 100);
    EXPECT_EQ(t.unmarkX, 140);
    EXPECT_EQ(t.selectionWidth, 137);
    EXPECT_EQ(t.typeListingX, 140 + 100 + 137 + 10);
    EXPECT_EQ(t.typeListingWidth, 110);
    EXPECT_EQ(t.fileTypeMenuX, t.typeListingX + 110);
    EXPECT_EQ(t.trashMarkedWidth, 270);
    EXPECT_EQ(t.trashMarkedX, 500 - 135);
    ToolbarInput ru { "ru", 40, 60, 60, 60, 60, 90, 120, 1000 };
    const ToolbarLayout r = *ResultWindowLayout::layoutTopToolbar(ru);
    EXPECT_EQ(r.autoMarkWidth, 100 - 8 - 12);
    EXPECT_EQ(r.trashMarkedWidth, 320);
    EXPECT_EQ(r.fileTypeMenuWidth, 106);
    ToolbarInput wide { "de", 0, 60, 60, 60, 60, 90, 260.7, 1000 };
    EXPECT_EQ(ResultWindowLayout::layoutTopToolbar(wide)->trashMarkedWidth, 260);
}

TEST(ResultWindowLayoutTest, BottomBarPushesPathBarRightAsCountsGrow)
{
    const BottomBarLayout a = ResultWindowLayout::layoutBottomBar({ 10, 100, 80, 1, 800 });
    const BottomBarLayout b = ResultWindowLayout::layoutBottomBar({ 10, 140, 80, 1, 800 });
    EXPECT_EQ(a.separatorOneX, 115);
    EXPECT_EQ(a.markedX, 121);
    EXPECT_EQ(a.pathBarX, 121 + 80 + 5 + 1 + 5);
    EXPECT_EQ(a.pathBarWidth, 800 - a.pathBarX - 10);
    EXPECT_EQ(b.pathBarX - a.pathBarX, 40);
    EXPECT_EQ(a.pathBarWidth - b.pathBarWidth, 40);
}

} // namespace
