// Per-language corrections of the results window.
#include "results/ResultWindowLayout.h"

#include <algorithm>
#include <cmath>

#include "app/LocalizedString.h"

namespace
{

LayoutChange offset(double dx, double dy, double dw)
{
    LayoutChange c;
    c.dx = dx;
    c.dy = dy;
    c.dw = dw;
    return c;
}

LayoutChange font(double size, bool bold = false)
{
    LayoutChange c;
    c.fontSize = size;
    c.bold = bold;
    return c;
}

LayoutChange frame(const QRectF &f)
{
    LayoutChange c;
    c.frame = f;
    return c;
}

LayoutChange height(double h)
{
    LayoutChange c;
    c.height = h;
    return c;
}

LayoutChange choiceButtons(double size)
{
    LayoutChange c = font(size, true);
    c.titleMargins = 10;
    return c;
}

const QStringList kCountLabels { "lblDuplicateFoundCount", "lblSpaceSavedSize" };
const QStringList kChoiceButtons { "btnAutoMarkPhotos", "btnSelectManually" };

} // namespace

const std::vector<LayoutRule> &ResultWindowLayout::buttonFontsAndTitlesRules()
{
    static const std::vector<LayoutRule> rules {
        { { "de" }, { "lblDuplicatePhotosFound" }, font(20, true) },
        { { "de" }, { "lblAreYouSureWantToDelete", "lblBelowScannedResult" }, offset(0, 15, 0) },
        { { "fr" }, { "lblMatchingLabel" }, font(10) },
        { { "fr" }, { "sliderMatchingLevel" }, frame(QRectF(818, 12, 147, 24)) },
        { { "fr" }, { "lblDuplicatePhotosFound" }, font(18, true) },
        { { "fr" }, { "lblAreYouSureWantToDelete" }, offset(0, 15, 0) },
        { { "fr" }, { "btnOkMoveBackWindow" }, offset(15, 0, -15) },
        { { "fr" }, { "btnCanelOnMoveBackWindow" }, offset(20, 0, -15) },
        { { "fr" }, { "btnDontShowAgainOnMoveBackWindow" }, offset(0, 0, 30) },
        { { "it", "pt" }, { "lblMatchingLabel" }, font(11) },
        { { "fi", "fr", "ru", "pt" }, kCountLabels, font(12, true) },
        { { "fi", "fr", "ru", "pt" }, { "lblDuplicateFoundCount" }, offset(0, 0, 25) },
        { { "fi", "fr", "ru", "pt" }, { "imgSeparator", "lblSpaceSavedSize" }, offset(25, 0, 0) },
        { { "ru" }, kCountLabels, font(11, true) },
        { { "ru" }, { "btnDontShowAgain" }, font(10) },
        { { "ru" }, { "btnContinueOnAutoMark" }, offset(-15, 0, 15) },
        { { "ru" }, { "btnCancelOnAutoMark" }, offset(-15, 0, 0) },
        { { "ru" }, { "lblMatchingLabel" }, font(11) },
        { { "ru" }, { "btnStopTrashing" }, offset(-30, 0, 30) },
    };
    return rules;
}

const std::vector<LayoutRule> &ResultWindowLayout::fontsAndFramesRules()
{
    static const QStringList bottomLabels { "lblBottomDuplicateGroups", "lblBottomMarked" };
    static const std::vector<LayoutRule> rules {
        { { "de", "da", "it" }, { "btnReview", "btnPreviousForPhotosApp" }, offset(-8, 0, 8) },
        { { "de", "da", "it" }, { "btnStopTrashing" }, offset(-10, 0, 10) },
        { { "da" }, { "lblBelowScannedResult" }, offset(0, 15, 0) },
        { { "nl" }, { "btnReview" }, offset(-15, 0, 15) },
        { { "nl" }, bottomLabels, font(10) },
        { { "nl" }, { "lblReviewPhotoBeforeTrash" }, font(12) },
        { { "nl" }, { "boxForDeletedImagesWillAppearLater", "lblDeletedImagesWillAppearLater" },
            offset(0, 0, 10) },
        { { "ru" }, { "btnTrash" }, offset(-20, 0, 30) },
        { { "ru" }, { "btnReview" }, offset(-30, 0, 20) },
        { { "ru" }, { "lblPhtosAppTitel" }, height(50) },
        { { "ru" }, { "btnCountinueForPhotosApp" }, offset(-15, 0, 15) },
        { { "ru" }, { "btnPreviousForPhotosApp", "btnCancelForPhotosApp" }, offset(-15, 0, 0) },
        { { "ru" }, { "lblAfterTrashStep1", "lblFileCountTrash", "lblAutoMarkInstructionDesc" }, font(12) },
        { { "ru" }, { "lblDuplicatePhotosFound" }, font(14, true) },
        { { "ru" }, { "lblBelowScannedResult" }, offset(0, 15, 0) },
        { { "ru" }, { "lblScanned" }, font(11) },
        { { "ru" }, { "btnDontShowAgain" }, font(10) },
        { { "ru" }, { "dontShowConfirmationDialogue" }, font(9) },
        { { "ru", "nl" }, { "lbAutoMarkInProgress" }, font(11) },
        { { "fr", "it" }, { "lbAutoMarkInProgress" }, font(13) },
        { { "sv", "ru" }, { "lblPreview" }, offset(-10, 0, 10) },
        { { "sv", "ru" }, { "btnCancelForPhotosApp", "btnPreviousForPhotosApp" }, offset(-15, 0, 15) },
        { { "sv", "ru" }, { "dontShowConfirmationDialogue" }, font(9) },
        { { "fi" }, { "btnTrash" }, offset(-55, 0, 55) },
        { { "fi" }, { "btnReview" }, offset(-55, 0, 0) },
        { { "fi" },
            { "lblAuthorizationFirstPoint", "lblAuthorizationSecondPoint", "lblAuthorizationThirdPoint",
                "lblAuthorizationFourthPoint", "lblAuthorizationFifthPoint", "lblAuthorizationSixthPoint" },
            font(12) },
        { { "fi" }, { "lblDuplicatePhotosFound" }, font(15, true) },
        { { "fi" }, { "lblMatchingLevelHint" }, offset(0, -15, 0) },
        { { "es" }, { "btnTrash" }, offset(-65, 0, 65) },
        { { "es" }, { "btnReview" }, offset(-65, 0, 0) },
        { { "es" }, { "lblDuplicateFoundCount" }, font(13, true) },
        { { "es" }, { "lblBelowScannedResult" }, offset(0, 15, 0) },
        { { "es" }, bottomLabels, font(10) },
        { { "es" }, { "lblMatchingLevelHint" }, offset(0, -15, 0) },
        { { "pt" }, { "lblSimilarPhotoClean" }, font(16) },
        { { "pt" }, { "lblHintThereAreStillsimilarphotos" }, font(15) },
        { { "pt" }, { "lblScanned" }, font(12) },
        { { "es", "nl", "pt", "sv" }, { "lblDuplicatePhotosFound" }, font(20, true) },
    };
    return rules;
}

const std::vector<LayoutRule> &ResultWindowLayout::constructionRules()
{
    static const std::vector<LayoutRule> rules {
        { { "pt" }, { "lblFileName", "lblFileSize", "lblCreatedDate", "lblFileType", "lblFolderPath" },
            font(11) },
        { { "pt" }, { "lblFileType" }, offset(-20, 0, 20) },
        { { "de", "it", "nl", "sv" }, kChoiceButtons, choiceButtons(15) },
        { { "fr" }, kChoiceButtons, choiceButtons(13) },
        { { "ru" }, kChoiceButtons, choiceButtons(11) },
        { { "ru" }, { "lblDuplicatesRemoved", "lblSpaceRemoved" }, font(10) },
        { { "ru" }, { "lblUniquePhotoRetained" }, font(11) },
    };
    return rules;
}

std::vector<LayoutRule> ResultWindowLayout::rulesFor(
    const std::vector<LayoutRule> &table, const QString &language)
{
    std::vector<LayoutRule> chosen;
    std::copy_if(table.begin(), table.end(), std::back_inserter(chosen),
        [&](const LayoutRule &rule) { return rule.languages.contains(language); });
    return chosen;
}

bool ResultWindowLayout::toolbarUsesSmallTitles(const QString &language)
{
    return Localization::isOneOf(language, { "ru", "fi", "fr", "nl", "it", "pt", "es" });
}

double ResultWindowLayout::listingGap(const QString &language)
{
    if (Localization::isOneOf(language, { "nl", "fi", "es" }))
        return 4;
    if (Localization::isOneOf(language, { "fr", "pt" }))
        return 2;
    if (Localization::isOneOf(language, { "ru", "it" }))
        return 0;
    return 10;
}

double ResultWindowLayout::firstButtonsPad(const QString &language)
{
    return Localization::isOneOf(language, { "ru", "it", "fr" }) ? -12 : 0;
}

namespace
{

double autoMarkWidth(const QString &l, double f)
{
    double base = std::max(f, 100.0);
    if (Localization::isOneOf(l, { "es", "ru" }))
        base -= 8;
    else if (Localization::isOneOf(l, { "pt" }))
        base += 5;
    else if (Localization::isOneOf(l, { "nl" }))
        base -= 12;
    else if (Localization::isOneOf(l, { "sv", "de" }))
        base += 20;
    return base;
}

double unmarkWidth(const QString &l, double f)
{
    double base = std::max(f, 100.0);
    if (Localization::isOneOf(l, { "es", "nl" }))
        base -= 8;
    else if (Localization::isOneOf(l, { "pt" }))
        base += 5;
    else if (Localization::isOneOf(l, { "sv" }))
        base += 20;
    else if (Localization::isOneOf(l, { "da" }))
        base += 30;
    return base;
}

double selectionWidth(const QString &l, double f)
{
    if (Localization::isOneOf(l, { "ru", "fr" }))
        return std::max(f, 110.0);
    if (Localization::isOneOf(l, { "fi", "nl" }))
        return 80;
    if (Localization::isOneOf(l, { "da" }))
        return 90;
    if (Localization::isOneOf(l, { "sv" }))
        return 100;
    return std::max(f, 137.0);
}

double typeListingWidth(const QString &l, double f)
{
    if (Localization::isOneOf(l, { "nl", "da" }))
        return 105;
    if (Localization::isOneOf(l, { "sv" }))
        return 80;
    if (Localization::isOneOf(l, { "ru", "it" }))
        return std::max(f, 100.0) - 7;
    if (Localization::isOneOf(l, { "fr" }))
        return std::max(f, 100.0) - 15;
    return std::max(f, 100.0);
}

} // namespace

std::optional<ToolbarLayout> ResultWindowLayout::layoutTopToolbar(const ToolbarInput &in_)
{
    const QString &l = in_.language;
    if (l == QStringLiteral("en"))
        return std::nullopt;
    const double gap = listingGap(l);
    const double pad = firstButtonsPad(l);
    ToolbarLayout t;
    double r = in_.startX;
    t.autoMarkX = r;
    t.autoMarkWidth = autoMarkWidth(l, in_.autoMark) + pad;
    r += t.autoMarkWidth;
    t.sepAutoMarkX = r;
    t.unmarkX = r;
    t.unmarkWidth = unmarkWidth(l, in_.unmark) + pad;
    r += t.unmarkWidth;
    t.sepUnmarkX = r;
    t.selectionX = r;
    t.selectionWidth = selectionWidth(l, in_.selectionAssistance) + pad;
    r += t.selectionWidth;
    t.sepAssistanceX = r;
    t.typeListingX = r + gap;
    t.typeListingWidth = typeListingWidth(l, in_.typeListing) + gap;
    r = t.typeListingX + t.typeListingWidth;
    t.sepListTypeX = r;
    t.fileTypeMenuX = r;
    t.fileTypeMenuWidth = in_.fileTypeMenuWidth;
    if (Localization::isOneOf(l, { "es" })) {
        t.fileTypeMenuX += 5;
        t.fileTypeMenuWidth += 25;
    } else if (Localization::isOneOf(l, { "pt" })) {
        t.fileTypeMenuX += 5;
    } else if (Localization::isOneOf(l, { "fr", "ru" })) {
        t.fileTypeMenuWidth += 16;
    } else if (Localization::isOneOf(l, { "nl" })) {
        t.fileTypeMenuWidth += 40;
    } else if (Localization::isOneOf(l, { "it" })) {
        t.fileTypeMenuX -= 14;
        t.fileTypeMenuWidth += 16;
    }
    double f = in_.trashMarked;
    if (f < 250)
        f += Localization::isOneOf(l, { "es", "ru" }) ? 200 : 150;
    t.trashMarkedX = in_.viewWidth / 2 - f / 2;
    t.trashMarkedWidth = std::trunc(f);
    return t;
}

BottomBarLayout ResultWindowLayout::layoutBottomBar(const BottomBarInput &in_)
{
    constexpr double kGap = 5;
    BottomBarLayout b;
    b.groupsWidth = in_.groupsFitting;
    b.separatorOneX = in_.groupsX + b.groupsWidth + kGap;
    b.markedX = b.separatorOneX + in_.separatorWidth + kGap;
    b.markedWidth = in_.markedFitting;
    b.separatorTwoX = b.markedX + b.markedWidth + kGap;
    b.pathBarX = b.separatorTwoX + in_.separatorWidth + kGap;
    b.pathBarWidth = in_.boxWidth - b.pathBarX - 10;
    return b;
}

QRectF ResultWindowLayout::sliderMatchingLevelFrame(const QString &language)
{
    return language == QStringLiteral("fr") ? QRectF(818, 12, 147, 24) : QRectF(818, 10, 147, 24);
}
