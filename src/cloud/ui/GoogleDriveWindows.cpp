#include "cloud/ui/GoogleDriveWindows.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeView>

#include "cloud/ui/GoogleDriveAccessVC.h"
#include "controls/CFMButton.h"
#include "controls/ControlFonts.h"
#include "controls/ControlStyles.h"
#include "controls/CustomWindowNag.h"
#include "controls/TallRowDelegate.h"

namespace
{

template <typename Widget> Widget *place(QWidget *parent, const char *name, const QRect &frame)
{
    auto *widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(frame);
    return widget;
}

QLabel *label(QWidget *parent, const char *name, const QRect &frame, qreal size, QFont::Weight weight)
{
    auto *text = place<QLabel>(parent, name, frame);
    text->setFont(ControlFonts::systemFont(size, weight));
    text->setWordWrap(true);
    return text;
}

// A borderless window filled by one panel of its own size; returns the panel.
QFrame *makeWindow(const QString &name, const char *boxName, int width, int height)
{
    auto *window = new CustomWindowNag(nullptr, Qt::Dialog | Qt::FramelessWindowHint);
    window->setObjectName(name);
    window->setFixedSize(width, height);
    window->setWindowModality(Qt::WindowModal);
    ControlStyles::applyWindowPalette(window);
    auto *box = place<QFrame>(window, boxName, QRect(0, 0, width, height));
    ControlStyles::applyPanelPalette(box);
    ControlStyles::applySheetEdge(box);
    return box;
}

// The flat glyph buttons of the windows' corners.
QPushButton *glyphButton(QWidget *parent, const char *name, const QRect &frame, const QString &glyph)
{
    auto *button = place<QPushButton>(parent, name, frame);
    button->setText(glyph);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace

QWidget *GoogleDriveWindows::build(GoogleDriveAccessVC &c)
{
    QWidget *sheet = buildSignInSheet(c);
    c.windowFolderList = buildFolderWindow(c);
    return sheet;
}

QWidget *GoogleDriveWindows::buildSignInSheet(GoogleDriveAccessVC &c)
{
    c.boxInstruction = makeWindow(
        QStringLiteral("windowGoogleDriveSignIn"), "boxInstruction", kSignInWidth, kSignInHeight);
    QFrame *box = c.boxInstruction;
    c.lblDriveInfoHeader = label(box, "lblDriveInfoHeader", QRect(20, 24, 470, 30), 16, QFont::DemiBold);
    c.lblDriveInfoSteps = label(box, "lblDriveInfoSteps", QRect(20, 64, 500, 22), 13, QFont::DemiBold);
    c.lblDriveInfoSteps1 = label(box, "lblDriveInfoSteps1", QRect(40, 100, 480, 20), 13, QFont::DemiBold);
    c.lblDriveInfoSteps1Sub = label(box, "lblDriveInfoSteps1Sub", QRect(60, 122, 460, 34), 12, QFont::Normal);
    c.lblDriveInfoSteps2 = label(box, "lblDriveInfoSteps2", QRect(40, 164, 480, 20), 13, QFont::DemiBold);
    c.lblDriveInfoSteps2Sub = label(box, "lblDriveInfoSteps2Sub", QRect(60, 186, 460, 34), 12, QFont::Normal);
    c.lblDriveInfoSteps3 = label(box, "lblDriveInfoSteps3", QRect(40, 228, 480, 20), 13, QFont::DemiBold);
    c.lblDriveInfoSteps3Sub = label(box, "lblDriveInfoSteps3Sub", QRect(60, 250, 460, 34), 12, QFont::Normal);
    // The buttons of the Dropbox sheet, in its order: Escape presses Cancel there too.
    c.btnScanComputer = place<CFMButton>(box, "btnScanComputer", QRect(20, 324, 200, 32));
    c.btnCancelPermission = place<CFMButton>(box, "btnCancelPermission", QRect(240, 324, 130, 32));
    c.btnAllowPermission = place<CFMButton>(box, "btnAllowPermission", QRect(390, 324, 130, 32));
    static_cast<CustomWindowNag *>(box->window())->setKeyButtons(c.btnAllowPermission, c.btnCancelPermission);
    return box->window();
}

QWidget *GoogleDriveWindows::buildFolderWindow(GoogleDriveAccessVC &c)
{
    c.boxFolderList
        = makeWindow(QStringLiteral("windowFolderList"), "boxFolderList", kFolderWidth, kFolderHeight);
    QFrame *box = c.boxFolderList;
    c.lblIncludeToScan = label(box, "lblIncludeToScan", QRect(20, 18, 360, 22), 13, QFont::DemiBold);
    c.btnRefreshGDriveFolderList
        = glyphButton(box, "btnRefreshGDriveFolderList", QRect(392, 16, 28, 26), QStringLiteral("\u21bb"));
    c.outlineGDFolderList = place<QTreeView>(box, "outlineGDFolderList", QRect(20, 50, 400, 318));
    c.outlineGDFolderList->setHeaderHidden(true);
    c.outlineGDFolderList->setUniformRowHeights(true);
    c.outlineGDFolderList->setItemDelegate(new TallRowDelegate(c.outlineGDFolderList));
    c.outlineGDFolderList->setSelectionMode(QAbstractItemView::SingleSelection);
    c.outlineGDFolderList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    c.hudFolderList = place<QProgressBar>(box, "hudFolderList", QRect(20, 376, 400, 6));
    c.hudFolderList->setRange(0, 0);
    c.hudFolderList->setTextVisible(false);
    c.hudFolderList->hide();
    c.btnCancelGDrive = place<CFMButton>(box, "btnCancelGDrive", QRect(200, 392, 100, 32));
    c.btnAddFolderGDrive = place<CFMButton>(box, "btnAddFolderGDrive", QRect(320, 392, 100, 32));
    c.btnAddFolderGDrive->setEnabled(false);
    static_cast<CustomWindowNag *>(box->window())->setKeyButtons(c.btnAddFolderGDrive, c.btnCancelGDrive);
    return box->window();
}
