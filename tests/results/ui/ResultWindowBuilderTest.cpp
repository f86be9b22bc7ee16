// Construction of the results window in several languages, its hint panels after a scan, and the
// Quick Look command.
#include <QAction>
#include <QPushButton>
#include <QStyleFactory>
#include <QTest>

#include "app/CommonFunc.h"
#include "controls/CommonFuncUi.h"
#include "controls/ControlStyles.h"
#include "controls/DoubleSlider.h"
#include "controls/FocusMarkStyle.h"
#include "controls/ITPathbar.h"
#include "platform/ui/ScriptedAlertPresenter.h"
#include "results/ResultTexts.h"
#include "results/ui/NoResultHintsPanel.h"
#include "results/ui/ResultSheets.h"
#include "results/ui/ResultWindowFixture.h"
#include "results/ui/ResultWindowStyles.h"

namespace
{

class ResultWindowBuilderTest : public ResultWindowFixture
{
};

QFont toolbarFont(int size)
{
    return *CommonFunc::buttonTitle(QStringLiteral("x"), size).runs.front().font;
}

TEST_F(ResultWindowBuilderTest, EnglishGivesEveryFixedControlItsTextAndKeepsTheToolbar)
{
    open();
    EXPECT_EQ(builder->outlineList().lblFileName->text(), localizedString(QStringLiteral("ID_FILE_NAME")));
    EXPECT_EQ(
        builder->outlineList().lblFolderPath->text(), localizedString(QStringLiteral("ID_FOLDER_PATH")));
    EXPECT_EQ(builder->previewPane().lblNoPhotoSelectedForPreview->text(),
        localizedString(QStringLiteral("ID_NO_PHOTOS_SELECTED")));
    EXPECT_EQ(builder->lblPreview->text(), localizedString(QStringLiteral("ID_PREVIEW")));
    EXPECT_EQ(builder->menuItemQuickLook->text(), localizedString(QStringLiteral("ID_QUICK_LOOK")));
    EXPECT_EQ(
        builder->menuItemRevealInFinder->text(), localizedString(QStringLiteral("ID_REVEAL_IN_FINDER")));
    EXPECT_EQ(controller->btnAutoMarkPhotos->text(), localizedString(QStringLiteral("ID_AUTO_MARK_RESULT")));
    EXPECT_EQ(controller->btnAutoMarkPhotos->font().pixelSize(), 18);
    EXPECT_EQ(controller->btnAutoMarkPhotos->getFontSizeForButton(), 18);
    EXPECT_TRUE(controller->btnAutoMarkPhotos->getMakeBoldFont());
    EXPECT_TRUE(builder->sheets().lblAuthorizationFirstPoint->text().startsWith(QStringLiteral("1. ")));
    EXPECT_TRUE(
        builder->sheets().lblAuthorizationHeading->text().contains(QCoreApplication::applicationName()));
    EXPECT_EQ(controller->lblBottomMarked->text(), ResultTexts::photosMarked(0));
    EXPECT_EQ(controller->lblBottomDuplicateGroups->toolTip(), ResultTexts::duplicatesInGroups(0, 0));
    EXPECT_TRUE(builder->previewPane().pathViewController->isHidden());
    // The interface's tool bar stays as laid out for English.
    EXPECT_EQ(controller->btnSelectionAssistance->maximumWidth(), QWIDGETSIZE_MAX);
    // It has nothing to do yet.
    EXPECT_FALSE(controller->btnSelectionAssistance->isEnabled());
}

TEST_F(ResultWindowBuilderTest, TrashMarkedShowsGreyArtworkUntilSomethingIsMarked)
{
    open();
    IMGButton &trash = *controller->btnTrashMarked;
    trash.grab();
    EXPECT_EQ(trash.drawnImageNames(),
        QStringList({ "grey_left_btn_trash", "grey_mid_btn_trash", "grey_right_btn_trash" }));
    EXPECT_EQ(trash.drawnTextColor(), ResultWindowStyles::disabledTrashTitleColor());
    controller->countMarked = 1;
    controller->updateFooterInfo();
    trash.grab();
    EXPECT_EQ(trash.drawnImageNames(),
        QStringList({ "blue_left_btn_trash", "blue_mid_btn_trash", "blue_right_btn_trash" }));
    EXPECT_EQ(trash.drawnTextColor(), QColor(Qt::white));
}

TEST_F(ResultWindowBuilderTest, ChoiceButtonsKeepTheirTitleOnOneLine)
{
    open();
    for (IMGButton *choice : { controller->btnAutoMarkPhotos.data(), controller->btnSelectManually.data() }) {
        choice->grab();
        EXPECT_FALSE(choice->drewTwoLines()) << choice->text().toStdString();
        EXPECT_EQ(choice->drawnTextColor(), QColor(Qt::white));
    }
}

TEST_F(ResultWindowBuilderTest, GermanTakesItsTableAndEnlargesHeadlineAndChoiceButtons)
{
    useLanguage(QStringLiteral("de"),
        { { QStringLiteral("ID_FILE_NAME"), QStringLiteral("Dateiname") },
            { QStringLiteral("ID_AUTO_MARK"), QStringLiteral("Automatisch markieren") } });
    open();
    EXPECT_EQ(builder->outlineList().lblFileName->text(), "Dateiname");
    EXPECT_EQ(controller->lblDuplicatePhotosFound->font().pixelSize(), 20);
    EXPECT_TRUE(controller->lblDuplicatePhotosFound->font().bold());
    EXPECT_EQ(controller->btnAutoMarkPhotos->font().pixelSize(), 15);
    EXPECT_EQ(controller->btnAutoMarkPhotos->getFontSizeForButton(), 15);
    EXPECT_EQ(controller->btnSelectManually->contentsMargins().top(), 10);
    const double f = CommonFuncUi::fittingWidth(controller->btnAutoMark);
    EXPECT_EQ(controller->btnAutoMark->width(), int(std::max(f, 100.0) + 20));
}

TEST_F(ResultWindowBuilderTest, FrenchShrinksTheCaptionsAndTheToolbarTitles)
{
    useLanguage(QStringLiteral("fr"),
        { { QStringLiteral("ID_MATCHING_LEVEL"), QStringLiteral("Niveau") },
            { QStringLiteral("ID_AUTO_MARK"), QStringLiteral("Marquage") } });
    open();
    EXPECT_EQ(controller->lblMatchingLabel->text(), "Niveau");
    EXPECT_EQ(controller->lblMatchingLabel->font().pixelSize(), 10);
    EXPECT_EQ(controller->btnAutoMarkPhotos->font().pixelSize(), 13);
    EXPECT_EQ(controller->lblDuplicateFoundCount->font().pixelSize(), 12);
    EXPECT_EQ(controller->btnAutoMark->font(), toolbarFont(10));
    const double f = CommonFuncUi::fittingWidth(controller->btnSelectionAssistance);
    EXPECT_EQ(controller->btnSelectionAssistance->width(), int(std::max(f, 110.0) - 12));
}

TEST_F(ResultWindowBuilderTest, JapaneseHasNoFontRulesButTheToolbarFlows)
{
    useLanguage(QStringLiteral("ja"),
        { { QStringLiteral("ID_SELECTION_ASSISTANCE"), QStringLiteral("選択支援") },
            { QStringLiteral("ID_AUTO_MARK"), QStringLiteral("自動") } });
    open();
    EXPECT_NE(controller->lblDuplicatePhotosFound->font().pixelSize(), 20);
    EXPECT_EQ(controller->btnAutoMarkPhotos->font().pixelSize(), 18);
    EXPECT_EQ(controller->btnAutoMark->font(), toolbarFont(12));
    const double f = CommonFuncUi::fittingWidth(controller->btnSelectionAssistance);
    EXPECT_EQ(controller->btnSelectionAssistance->width(), int(std::max(f, 137.0)));
    const double trash = CommonFuncUi::fittingWidth(controller->btnTrashMarked);
    EXPECT_EQ(controller->btnTrashMarked->width(), int(trash < 250 ? trash + 150 : trash));
}

TEST_F(ResultWindowBuilderTest, ExactScanWithoutGroupsShowsTheNoResultPanel)
{
    scan.compareType = GlobalObjects::CompareType::ctMD5;
    open();
    controller->invokeCollectionView(std::vector<std::shared_ptr<DuplicatesGroup>> {}, scan);
    settle();
    EXPECT_EQ(controller->lblNosSimillarPhoto->text(),
        localizedString(QStringLiteral("ID_NO_DUPLICATE_PHOTOS_VIDEOS_FOUND")));
    // Exact comparison has no matching level: the hint does not offer one.
    EXPECT_EQ(controller->lblMatchingLevelHint->text(),
        localizedString(QStringLiteral("ID_HINT_TRY_SIMILAR_COMPARISION")));
    EXPECT_FALSE(controller->boxForHint->isHidden());
    EXPECT_TRUE(controller->boxRightPattern->isHidden());
    EXPECT_TRUE(controller->btnTrashMarked->isHidden());
}

TEST_F(ResultWindowBuilderTest, ExactScanWithOnlyVideosHidesTheHintLine)
{
    open();
    controller->scanCompareType = GlobalObjects::CompareType::ctMD5;
    controller->typeSupport = GlobalObjects::TypeSupport::ONLYVIDEO;
    builder->hints().updateNoResultHints(true, false);
    EXPECT_EQ(controller->lblNosSimillarPhoto->text(),
        localizedString(QStringLiteral("ID_NO_DUPLICATE_VIDEOS_FOUND")));
    EXPECT_TRUE(controller->lblMatchingLevelHint->isHidden());
}

// Groups found only at the lowest level are shown there with a headline that says so, and no line
// offers a lower level; moved up past them the panel says none show there and that lower levels
// hold some; moved to a level that shows groups, the panel goes.
TEST_F(ResultWindowBuilderTest, GroupsOnlyBelowTheLevelAreShownWithThePartialHeadline)
{
    open();
    auto low = ResultsTestRecords::group(
        { photo(QStringLiteral("l0"), 0.86f), photo(QStringLiteral("l1"), 0.86f) });
    enter({ low });
    EXPECT_EQ(controller->arrGroups.size(), 1u);
    NoResultHintsPanel &hints = builder->hints();
    // At the default width the texts keep whole lines and the slider a usable length.
    controller->view()->resize(1040, 679);
    // Level moved to, headline, whether the lines about a lower level show, whether the panel does.
    const std::tuple<std::optional<double>, const char *, bool, bool> rows[] = {
        { std::nullopt, "ID_NO_SIMILAR_PHOTOS_AT_SCAN_LEVEL_SHOWN_AT_LOWEST", false, true },
        { 0.95, "ID_NO_SIMILAR_PHOTOS_AT_MATCHING_LEVEL", true, true },
        { 0.855, "ID_NO_SIMILAR_PHOTOS_AT_MATCHING_LEVEL", true, false },
    };
    for (const auto &[level, headline, lowerLines, panel] : rows) {
        if (level) {
            controller->sliderMatchingLevel->setDoubleValue(*level);
            controller->sliderMatchingValue(controller->sliderMatchingLevel);
        }
        settle();
        EXPECT_EQ(controller->boxHintPartialMatch->isHidden(), !panel) << headline;
        EXPECT_EQ(controller->lblSimilarPhotoClean->text(), localizedString(QString::fromLatin1(headline)));
        EXPECT_EQ(hints.lblHintThereAreStillsimilarphotos->isHidden(), !lowerLines) << headline;
        EXPECT_EQ(hints.lblNoteToAutoMark->isHidden(), !lowerLines) << headline;
        EXPECT_TRUE(controller->boxForHint->isHidden());
        EXPECT_FALSE(controller->boxRightPattern->isHidden());
        if (!panel)
            continue;
        EXPECT_GE(controller->sliderForMatch->width(), 200);
        for (QLabel *text : { hints.lblNoteToAutoMark.data(), hints.lblHintThereAreStillsimilarphotos.data(),
                 controller->lblSimilarPhotoClean.data() })
            EXPECT_LE(text->height(), 2 * text->fontMetrics().lineSpacing() + 2) << qPrintable(text->text());
    }
    EXPECT_EQ(hints.lblNoteToAutoMark->text(),
        localizedString(QStringLiteral("ID_NOTE_REDUCE_MATCH_LEVEL_MAY_PRESENT_PHOTOS")));
}

TEST_F(ResultWindowBuilderTest, QuickLookAsksForOnlyTheLastRecordOfTheGridSelection)
{
    open();
    std::vector<QList<QUrl>> asked;
    QObject::connect(controller.get(), &ResultViewController::quickLookRequested,
        [&](const QList<QUrl> &urls) { asked.push_back(urls); });
    auto g = photos(QStringLiteral("q"), 3);
    enter({ g });
    controller->currentSelectedIndexs = { IndexPath { 0, 0 }, IndexPath { 0, 2 } };
    builder->menuItemQuickLook->trigger();
    controller->currentSelectedIndexs = { IndexPath { 0, 1 } };
    builder->menuItemQuickLook->trigger();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], QList<QUrl> { QUrl::fromLocalFile(g->filterChildren.at(2)->filePath) });
    EXPECT_EQ(asked[1], QList<QUrl> { QUrl::fromLocalFile(g->filterChildren.at(1)->filePath) });
    controller->currentSelectedIndexs.clear();
    std::vector<QUrl> revealed;
    builder->fileActions().revealUrl = [&](const QUrl &url) { revealed.push_back(url); };
    builder->menuItemRevealInFinder->trigger();
    builder->menuItemQuickLook->trigger();
    EXPECT_TRUE(revealed.empty());
    EXPECT_EQ(asked.size(), 2u) << "no selection asks for nothing";
}

// A tool bar button's focus is its light frame alone: no second mark inside covers its title.
TEST_F(ResultWindowBuilderTest, AToolbarButtonHasOneFocusFrame)
{
    QApplication::setStyle(new FocusMarkStyle(QStyleFactory::create(QStringLiteral("Fusion"))));
    open();
    controller->view()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(controller->view()));
    controller->view()->setAttribute(Qt::WA_KeyboardFocusChange);
    controller->btnUnmark->setFocus(Qt::TabFocusReason);
    const QImage shot = controller->btnUnmark->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const auto *pixels = reinterpret_cast<const QRgb *>(shot.constBits());
    const QList<QRgb> colours(pixels, pixels + shot.width() * shot.height());
    EXPECT_TRUE(colours.contains(ControlStyles::focusMarkColor().rgb()));
    EXPECT_FALSE(colours.contains(ControlStyles::focusHaloColor().rgb()));
}

TEST_F(ResultWindowBuilderTest, DesktopThatOpensNothingIsToldToTheUser)
{
    open();
    ScriptedAlertPresenter alerts;
    builder->fileActions().desktopRefused(QUrl::fromLocalFile(QStringLiteral("/photos/beach.jpg")));
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_TRUE(alerts.alerts().back().messageText.contains(QStringLiteral("beach.jpg")));
}

} // namespace
