// The general and per-language layout passes of the main window, as functions of the language.
#include <gtest/gtest.h>

#include "scan/ui/MainWindowLayout.h"

namespace
{

// Every title measures 100 points in any font, so the passes' own arithmetic is what is checked.
const FitMeasure kFixedFit = [](const QString &, const std::optional<LayoutFont> &) { return 100.0; };

MainWindowGeometry laidOut(const QString &language, ScanSource scanType = ScanSource::thisComputer, const FitMeasure &fit = kFixedFit)
{
    MainWindowGeometry g = MainWindowLayout::interfaceGeometry();
    MainWindowLayout::layoutMainWindow(language, fit, g);
    MainWindowLayout::adjustLayoutForWidth(language, scanType, g);
    return g;
}

TEST(MainWindowLayoutTest, ShortScanTitleIsWidenedAndCentred)
{
    const MainWindowGeometry g = laidOut(QStringLiteral("en"));
    EXPECT_DOUBLE_EQ(g.frame("btnCompare").width(), 250.0);
    EXPECT_DOUBLE_EQ(g.frame("btnCompare").center().x(), g.viewWidth / 2.0);
}

TEST(MainWindowLayoutTest, LongScanTitleKeepsItsPlace)
{
    const FitMeasure wide = [](const QString &name, const std::optional<LayoutFont> &) {
        return name == QLatin1String("btnCompare") ? 300.7 : 100.0;
    };
    const MainWindowGeometry before = MainWindowLayout::interfaceGeometry();
    const MainWindowGeometry g = laidOut(QStringLiteral("en"), ScanSource::thisComputer, wide);
    EXPECT_DOUBLE_EQ(g.frame("btnCompare").x(), before.frame("btnCompare").x());
    EXPECT_DOUBLE_EQ(g.frame("btnCompare").width(), 300.0);
}

TEST(MainWindowLayoutTest, EnglishOnlyRespacesTheAddButtons)
{
    const MainWindowGeometry before = MainWindowLayout::interfaceGeometry();
    const MainWindowGeometry g = laidOut(QStringLiteral("en"));
    const QRectF photos = g.frame("btnAddPhotos"), library = g.frame("btnAddPhotosLib"),
                 folder = g.frame("btnAddFolder");
    EXPECT_DOUBLE_EQ(photos.x(), before.frame("btnAddPhotos").x());
    EXPECT_DOUBLE_EQ(photos.width(), 145.0);
    EXPECT_DOUBLE_EQ(library.x(), photos.right() + 7);
    EXPECT_DOUBLE_EQ(folder.x(), library.right() + 7);
    for (const char *kept :
        { "btnScanLastImport", "btnPopupForScanSelection", "lblBitMapSize", "btnStopAddingPhotos" })
        EXPECT_EQ(g.frame(kept), before.frame(kept)) << kept;
    // The date-kind pop-up grows to its longest item, and the pop-up and button after it follow.
    const QRectF kind = g.frame("btnCaptureDate"), period = g.frame("btnCapturePeriod");
    EXPECT_DOUBLE_EQ(kind.x(), before.frame("btnCaptureDate").x());
    EXPECT_DOUBLE_EQ(kind.width(), 100 + 40);
    EXPECT_DOUBLE_EQ(period.x(), kind.right() + 5);
    EXPECT_DOUBLE_EQ(g.frame("btnToolTip").x(), period.right() + 5);
    EXPECT_TRUE(g.fonts.isEmpty());
    EXPECT_TRUE(g.hidden.isEmpty());
}

struct LanguageCase {
    const char *language;
    bool dateRowReflowed;
    std::optional<double> patientFont;
    std::optional<double> addFont;
    bool menuButtonReplacesAddButtons;
};

class LanguageLayoutTest : public ::testing::TestWithParam<LanguageCase>
{
};

TEST_P(LanguageLayoutTest, CorrectionsFollowTheLanguage)
{
    const LanguageCase c = GetParam();
    const MainWindowGeometry before = MainWindowLayout::interfaceGeometry();
    const MainWindowGeometry g = laidOut(QString::fromLatin1(c.language));

    if (c.dateRowReflowed) {
        EXPECT_DOUBLE_EQ(g.frame("btnScanLastImport").width(), 100 + 45 - 32);
        EXPECT_DOUBLE_EQ(g.frame("btnCaptureDate").x(), g.frame("btnScanLastImport").right() + 5);
        EXPECT_DOUBLE_EQ(g.frame("btnCapturePeriod").x(), g.frame("btnCaptureDate").right() + 5);
        EXPECT_DOUBLE_EQ(g.frame("btnToolTip").x(), g.frame("btnCapturePeriod").right() + 5);
        EXPECT_EQ(g.fonts.value("btnExactMatch"), (LayoutFont { 11, false }));
    } else {
        EXPECT_EQ(g.frame("btnScanLastImport"), before.frame("btnScanLastImport"));
        EXPECT_FALSE(g.fonts.contains("btnExactMatch"));
    }
    if (c.patientFont)
        EXPECT_DOUBLE_EQ(g.fonts.value("lblPleaseBePatient").pointSize, *c.patientFont);
    else
        EXPECT_FALSE(g.fonts.contains("lblPleaseBePatient"));
    if (c.addFont)
        EXPECT_DOUBLE_EQ(g.fonts.value("lblAdd").pointSize, *c.addFont);
    else
        EXPECT_FALSE(g.fonts.contains("lblAdd"));
    EXPECT_EQ(g.hidden.value("customButtonForMenu", true), !c.menuButtonReplacesAddButtons);
    EXPECT_EQ(g.hidden.value("btnAddPhotos", false), c.menuButtonReplacesAddButtons);
    EXPECT_EQ(g.hidden.value("btnAddFolder", false), c.menuButtonReplacesAddButtons);
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageLayoutTest,
    ::testing::Values(LanguageCase { "en", false, std::nullopt, std::nullopt, false },
        LanguageCase { "de", true, 11.0, 11.0, true }, LanguageCase { "ja", true, 11.0, std::nullopt, false },
        LanguageCase { "fr", true, 11.0, std::nullopt, true }, LanguageCase { "ru", true, 9.0, 10.0, true },
        LanguageCase { "fi", true, 9.0, 10.0, false }, LanguageCase { "it", true, std::nullopt, 10.0, false },
        LanguageCase { "pt", true, 11.0, 10.0, false },
        LanguageCase { "sv", true, std::nullopt, std::nullopt, false }),
    [](const auto &info) { return std::string(info.param.language); });

TEST(MainWindowLayoutTest, GermanPlacesTheSourcePopupAfterTheLibraryButton)
{
    const MainWindowGeometry g = laidOut(QStringLiteral("de"));
    const QRectF library = g.frame("btnAddPhotosLib");
    EXPECT_DOUBLE_EQ(library.x(), g.frame("customButtonForMenu").right() + 10);
    const QRectF popup = g.frame("btnPopupForScanSelection");
    EXPECT_DOUBLE_EQ(popup.x(), library.right() + 85);
    EXPECT_DOUBLE_EQ(popup.width(), g.frame("boxLeft").width() - 28 - library.right() - 80);
    EXPECT_EQ(g.fonts.value("btnPopupForScanSelection"), (LayoutFont { 12, false }));
}

TEST(MainWindowLayoutTest, GermanWithACloudSourceKeepsTheFolderButton)
{
    const MainWindowGeometry g = laidOut(QStringLiteral("de"), ScanSource::dropbox);
    EXPECT_EQ(g.hidden.value("btnAddFolder"), false);
    EXPECT_EQ(g.hidden.value("customButtonForMenu"), true);
    EXPECT_FALSE(g.hidden.contains("btnAddPhotos"));
}

TEST(MainWindowLayoutTest, NarrowRowShrinksTheSourcePopupOnlyOutsideEnglish)
{
    const FitMeasure wide = [](const QString &, const std::optional<LayoutFont> &) { return 140.0; };
    const MainWindowGeometry english = laidOut(QStringLiteral("en"), ScanSource::thisComputer, wide);
    EXPECT_FALSE(english.fonts.contains("btnPopupForScanSelection"));
    const MainWindowGeometry japanese = laidOut(QStringLiteral("ja"), ScanSource::thisComputer, wide);
    const double folderRight = japanese.frame("btnAddFolder").right();
    const double avail = japanese.frame("boxLeft").width() - 28 - folderRight;
    ASSERT_LT(avail, 161);
    EXPECT_EQ(japanese.fonts.value("btnPopupForScanSelection"), (LayoutFont { 10, false }));
    EXPECT_DOUBLE_EQ(japanese.frame("btnPopupForScanSelection").x(), folderRight + 1);
    EXPECT_DOUBLE_EQ(japanese.frame("btnPopupForScanSelection").width(), avail - 2);

    const MainWindowGeometry roomy = laidOut(QStringLiteral("ja"));
    EXPECT_EQ(roomy.frame("btnPopupForScanSelection"),
        MainWindowLayout::interfaceGeometry().frame("btnPopupForScanSelection"));
}

TEST(MainWindowLayoutTest, RussianShiftsAndNarrowsAfterRespacing)
{
    const MainWindowGeometry before = MainWindowLayout::interfaceGeometry();
    const MainWindowGeometry g = laidOut(QStringLiteral("ru"));
    EXPECT_DOUBLE_EQ(g.frame("btnAddPhotos").width(), 145 - 20);
    EXPECT_DOUBLE_EQ(g.frame("btnAddPhotosLib").width(), 145 - 50);
    EXPECT_DOUBLE_EQ(g.frame("btnAddFolder").x(), before.frame("btnAddPhotos").x() + 2 * (145 + 7) - 70);
    EXPECT_DOUBLE_EQ(g.frame("lblBitMapSize").x(), before.frame("lblBitMapSize").x() + 10);
    EXPECT_DOUBLE_EQ(g.frame("btnStopAddingPhotos").x(), before.frame("btnStopAddingPhotos").x() - 30);
    EXPECT_DOUBLE_EQ(
        g.frame("btnStopAddingPhotos").width(), before.frame("btnStopAddingPhotos").width() + 30);
    EXPECT_EQ(g.fonts.value("btnAddPhotosLib"), (LayoutFont { 10, false }));
}

TEST(MainWindowLayoutTest, FinnishValueLabelsShareOneSemiboldFont)
{
    const MainWindowGeometry g = laidOut(QStringLiteral("fi"));
    for (const char *label : { "lblTimeIntervalValue", "lblGPSDistance", "lblBitMapSize" })
        EXPECT_EQ(g.fonts.value(label), (LayoutFont { 10, true })) << label;
}

TEST(MainWindowLayoutTest, FrenchMovesThePatienceText)
{
    EXPECT_DOUBLE_EQ(laidOut(QStringLiteral("fr")).frame("lblPleaseBePatient").x(), 207.0);
    EXPECT_DOUBLE_EQ(laidOut(QStringLiteral("es")).frame("btnCapturePeriod").width(),
        MainWindowLayout::interfaceGeometry().frame("btnCapturePeriod").width() - 10);
}

} // namespace
