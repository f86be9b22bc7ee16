// Looks of the results window, matched to the main window's theme.
#include "results/ui/ResultWindowStyles.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "app/OSVersionFlags.h"
#include "controls/ControlFonts.h"
#include "controls/ControlStyles.h"
#include "results/ui/ResultWindowWidgets.h"
#include "scan/ScanProgressTexts.h"

namespace
{

void setTextColor(QWidget *widget, const QColor &color)
{
    if (!widget)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

void fill(QWidget *widget, const QColor &color)
{
    if (!widget)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// Both states alike, with the same parts for normal, pressed and disabled.
void setAllStates(IMGButton *button, const QString &start, const QString &middle, const QString &end)
{
    button->setButtonsImages(start, middle, end, start, middle, end, start, middle, end);
}

void setTitle(IMGButton *button, int size, bool bold, const QColor &color)
{
    button->setFontSizeForButton(size);
    button->setMakeBoldFont(bold);
    button->setColorOnState(color);
    button->setColorOffState(color);
    button->setColorOnStateDis(color);
    button->setColorOffStateDis(color);
}

} // namespace

void ResultWindowStyles::applyTheme(ResultWindowWidgets &c)
{
    QWidget *view = c.viewResultContainer->window();
    ControlStyles::applyWindowPalette(view);
    if (auto *top = qobject_cast<GradientBox *>(c.boxTop.data()))
        top->setBackgroundImage(QStringLiteral("top_big_header"));
    for (QWidget *line : { c.imgViewSeprator.data(), c.imgViewSepratorUnMarkBtn.data(),
             c.imgViewSepratorAutoMarkBtn.data(), c.imgViewSepratorBackBtn.data(), c.imgViewSepListType.data(),
             c.sepratorAssitance.data() }) {
        if (auto *box = qobject_cast<GradientBox *>(line))
            box->setRepeatingBackgroundImage(QStringLiteral("top_sap_line_new"));
    }
    // Flat titles with room on both sides, lit while the pointer is over them and framed while they
    // have the focus (the frame is there unseen without it, so the title never moves). That frame is
    // their only focus mark: a second one inside it would cover the title's ends.
    for (QPushButton *button : c.boxTop->findChildren<QPushButton *>())
        button->setProperty(ControlStyles::kOwnFocusMark, true);
    c.boxTop->setStyleSheet(
        QStringLiteral("QPushButton { color: white; background: transparent; border: 2px solid transparent;"
                       " border-radius: 4px; padding: 0 10px; }"
                       "QPushButton:focus { border-color: %1; }"
                       "QPushButton:hover { background: rgba(255, 255, 255, 24); }"
                       "QPushButton:pressed { background: rgba(0, 0, 0, 60); }"
                       "QPushButton:disabled { color: rgb(130, 138, 155); }"
                       "QPushButton::menu-indicator { width: 0; }")
            .arg(ControlStyles::focusMarkColor().name()));
    c.lblMatchingLabel->setFont(ControlFonts::systemFont(12));
    setTextColor(c.lblMatchingLabel, Qt::white);
    // The counts card: dark texts on a light box whose counts the captions colour.
    if (QWidget *inner = c.lblDuplicateFoundCount->parentWidget())
        inner->setStyleSheet(QStringLiteral("QFrame#boxHeaderDetailInner { background: white; border-radius: 4px; }"
                                            "QFrame#headerCountsSeparator { background: rgb(200, 204, 214); }"));
    setTextColor(c.lblDuplicateFoundCount, headerCountTextColor());
    setTextColor(c.lblSpaceSavedSize, headerCountTextColor());
    c.lblNosSimillarPhoto->setFont(ControlFonts::systemFont(16, QFont::Bold));
    setTextColor(c.lblNosSimillarPhoto, Qt::white);
    c.lblMatchingLevelHint->setFont(ControlFonts::systemFont(13));
    setTextColor(c.lblMatchingLevelHint, QColor(208, 210, 213));
    c.lblSimilarPhotoClean->setFont(ControlFonts::systemFont(14, QFont::Bold));
    setTextColor(c.lblSimilarPhotoClean, Qt::white);
    fill(c.boxBottom, bottomBarColor());
    if (auto *footer = c.boxBottom->findChild<GradientBox *>(QStringLiteral("boxFooter")))
        footer->setBackgroundImage(QStringLiteral("footer-gradient-bg"));
    const QColor statusText(198, 207, 229);
    setTextColor(c.lblBottomMarked, statusText);
    setTextColor(c.lblBottomDuplicateGroups, statusText);
    styleSheetWindow(c.windowScanComplete, c.boxWindowScanComplete);
    styleSheetWindow(c.windowOnMovesBack, c.boxMainMoveBack);
    QFont scanned = ControlFonts::systemFont(15, QFont::Bold);
    c.lblScanned->setFont(scanned);
    c.lblDuplicatePhotosFound->setFont(ControlFonts::systemFont(15));
    c.lblAutoMarkInstructionDesc->setFont(ControlFonts::systemFont(13));
    setTextColor(c.lblAutoMarkInstructionDesc, QColor(208, 210, 213));
    setTextColor(c.lblScanned, Qt::white);
    setTextColor(c.lblDuplicatePhotosFound, Qt::white);
    // The finished ring reads like the main window's, with its percentage in the middle.
    auto *percent = new QLabel(ScanProgressTexts::percentText(1.0), c.progressCircular);
    percent->setAlignment(Qt::AlignCenter);
    percent->setFont(ControlFonts::systemFont(15, QFont::Bold));
    setTextColor(percent, Qt::white);
    percent->setGeometry(c.progressCircular->rect());
    setTextColor(c.btnDontShowAgainOnMoveBackWindow, Qt::white);
    c.lblDoYouWantToContinue->setFont(ControlFonts::systemFont(14, QFont::Bold));
    setTextColor(c.lblDoYouWantToContinue, Qt::white);
    c.lblBelowScannedResult->setFont(ControlFonts::systemFont(13));
    setTextColor(c.lblBelowScannedResult, QColor(208, 210, 213));
}

void ResultWindowStyles::styleSheetWindow(QWidget *window, QWidget *box)
{
    if (!window || !box)
        return;
    ControlStyles::applyWindowPalette(window);
    const double radius = OSVersionFlags::isOS11OrLater ? 0 : 5;
    box->setObjectName(box->objectName().isEmpty() ? QStringLiteral("sheetBox") : box->objectName());
    box->setStyleSheet(QStringLiteral("QFrame#%1 { background: rgb(30, 38, 56); border: 1px solid rgb(61, 73, 102);"
                                      " border-radius: %2px; }")
                           .arg(box->objectName())
                           .arg(radius));
    for (GradientBox *header : box->findChildren<GradientBox *>(Qt::FindDirectChildrenOnly))
        header->setBackgroundImages(
            QStringLiteral("box_header_left"), QStringLiteral("box_header_mid"), QStringLiteral("box_header_right"));
}

void ResultWindowStyles::styleImageButtons(ResultWindowWidgets &c)
{
    const QString bl = QStringLiteral("blue_left_btn_trash"), bm = QStringLiteral("blue_mid_btn_trash"),
                  br = QStringLiteral("blue_right_btn_trash"), gl = QStringLiteral("grey_left_btn_trash"),
                  gm = QStringLiteral("grey_mid_btn_trash"), gr = QStringLiteral("grey_right_btn_trash");
    c.btnTrashMarked->setButtonImages(bl, bm, br, bl, bm, br, bl, bm, br, gl, gm, gr, gl, gm, gr, gl, gm, gr);
    setTitle(c.btnTrashMarked, 18, true, Qt::white);
    c.btnTrashMarked->setColorOffStateDis(disabledTrashTitleColor());
    c.btnTrashMarked->setColorOnStateDis(disabledTrashTitleColor());
    c.btnTrashMarked->setMarginBottom(7);
    const QString an = QStringLiteral("left_arrow_btn_n"), mn = QStringLiteral("mid_arrow_btn_n"),
                  rn = QStringLiteral("right_arrow_btn_n"), ad = QStringLiteral("left_arrow_btn_d"),
                  md = QStringLiteral("mid_arrow_btn_d"), rd = QStringLiteral("right_arrow_btn_d");
    c.btnBackToSetUp->setButtonImages(an, mn, rn, ad, md, rd, an, mn, rn, an, mn, rn, ad, md, rd, an, mn, rn);
    setTitle(c.btnBackToSetUp, 13, false, Qt::white);
    // The arrow is drawn on the left part, so the title starts after it.
    c.btnBackToSetUp->setMarginLeft(18);
    setAllStates(c.btnSelectManually, QStringLiteral("blue_btn_sm_left_s"), QStringLiteral("blue_btn_sm_mid_s"),
        QStringLiteral("blue_btn_sm_right_s"));
    setAllStates(c.btnAutoMarkPhotos, QStringLiteral("green_sel_btn_left"), QStringLiteral("green_sel_btn_mid"),
        QStringLiteral("green_sel_btn_right"));
    // One line each: the fitted size shrinks for a long translation instead of breaking it.
    for (IMGButton *choice : { c.btnSelectManually.data(), c.btnAutoMarkPhotos.data(), c.btnTrashMarked.data() })
        choice->setMultiLineStr(QString());
    for (IMGButton *choice : { c.btnSelectManually.data(), c.btnAutoMarkPhotos.data() })
        setTitle(choice, 18, true, Qt::white);
    setAllStates(c.btnOkMoveBackWindow, QStringLiteral("blue_btn_sm_left"), QStringLiteral("blue_btn_sm_mid"),
        QStringLiteral("blue_btn_sm_right"));
    setTitle(c.btnOkMoveBackWindow, 14, true, Qt::white);
}

void ResultWindowStyles::styleFlatButtons(ResultWindowWidgets &c)
{
    ControlStyles::styleFlatButton(c.btnCanelOnMoveBackWindow, ControlStyles::stopAddingPhotosStyle());
}
