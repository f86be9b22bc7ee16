// Table colours, the dark table's menu and right click, the always-expanded outline, the cell
// view's parts and the scroll bars.
#include <gtest/gtest.h>

#include <QScreen>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTest>

#include "MouseEvents.h"
#include "controls/ChangeTableColor.h"
#include "controls/CustomCell.h"
#include "controls/CustomOutlineView.h"
#include "controls/CustomScrollViewDefault.h"
#include "controls/CustomTableView.h"
#include "platform/UserDefaults.h"

TEST(ChangeTableColor, DarkenAndLightenWorkInSinglePrecisionWithoutClamping)
{
    const QColor darker = ChangeTableColor::darkenColorByValue(Qt::white, 0.1f);
    EXPECT_NEAR(darker.redF(), 0.9f, 1e-4);
    EXPECT_NEAR(darker.blueF(), 0.9f, 1e-4);
    EXPECT_EQ(darker.alphaF(), 1.0f);
    const QColor below = ChangeTableColor::darkenColorByValue(Qt::black, 0.1f);
    EXPECT_NEAR(below.redF(), -0.1f, 1e-4);
    const QColor above = ChangeTableColor::lightenColorByValue(Qt::white, 0.25f);
    EXPECT_NEAR(above.greenF(), 1.25f, 1e-4);
}

TEST(ChangeTableColor, LightnessAndRowColours)
{
    EXPECT_TRUE(ChangeTableColor::isLightColor(Qt::white));
    EXPECT_FALSE(ChangeTableColor::isLightColor(QColor::fromRgbF(0.8f, 0.8f, 0.8f)));
    EXPECT_TRUE(ChangeTableColor::isLightColor(QColor::fromRgbF(1.0f, 1.0f, 0.5f)));
    EXPECT_FALSE(ChangeTableColor::isLightColor(QColor::fromRgbF(1.0f, 0.5f, 0.5f)));
    const auto dark = ChangeTableColor::controlAlternatingRowBackgroundColors(true);
    EXPECT_EQ(dark[0], QColor(76, 75, 76));
    EXPECT_EQ(dark[1], QColor(73, 73, 73));
    EXPECT_EQ(ChangeTableColor::controlAlternatingRowBackgroundColors(false)[0], QColor(Qt::white));
}

namespace
{

struct Table {
    CustomTableView view;
    QStandardItemModel model { 3, 1 };
    QMenu menu;
    Table()
    {
        view.resize(200, 200);
        view.setModel(&model);
        view.setMenu(&menu);
        view.setIndexWidget(model.index(0, 0), new CustomCell);
        view.setIndexWidget(model.index(2, 0), new CustomCell);
        view.selectRow(2);
    }
    QPoint rowPoint(int row) const { return view.visualRect(model.index(row, 0)).center(); }
};

} // namespace

TEST(CustomTableView, RowsAreDarkAndPaintingWritesNoSetting)
{
    Table t;
    EXPECT_EQ(t.view.palette().color(QPalette::Base), QColor(76, 75, 76));
    EXPECT_EQ(t.view.palette().color(QPalette::AlternateBase), QColor(73, 73, 73));
    EXPECT_TRUE(t.view.alternatingRowColors());
    t.view.grab();
    EXPECT_FALSE(UserDefaults::standard().objectForKey(QStringLiteral("color")).isValid());
    // A plain table beside it keeps the desktop's colours.
    QTableView plain;
    EXPECT_NE(plain.palette().color(QPalette::Base), QColor(76, 75, 76));
}

TEST(CustomTableView, MenuOnlyOverARow)
{
    Table t;
    EXPECT_EQ(t.view.menuForEvent(t.rowPoint(1)), &t.menu);
    EXPECT_EQ(t.view.menuForEvent(QPoint(5, 190)), nullptr);
}

TEST(CustomTableView, RightClickReachesOnlyRowsWithACustomCellAndKeepsTheSelection)
{
    Table t;
    MouseEvents::press(t.view.viewport(), QPoint(5, 190), Qt::RightButton);
    EXPECT_EQ(t.view.clickedRow(), -1);
    MouseEvents::press(t.view.viewport(), t.rowPoint(1), Qt::RightButton);
    EXPECT_EQ(t.view.clickedRow(), -1);
    MouseEvents::press(t.view.viewport(), t.rowPoint(0), Qt::RightButton);
    EXPECT_EQ(t.view.clickedRow(), 0);
    const QModelIndexList selected = t.view.selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.front().row(), 2);
}

// Scrolling with the focus leaves no piece of the focus marks behind: what is on the screen is what
// the list paints afresh.
TEST(CustomTableView, ScrollingWithTheFocusLeavesNoPieceOfItsMarks)
{
    CustomTableView view;
    QStandardItemModel model(40, 1);
    view.setModel(&model);
    view.resize(200, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.setFocus(Qt::TabFocusReason);
    view.setCurrentIndex(model.index(1, 0));
    QCoreApplication::processEvents();
    for (const int to : { 1, 2, 1 }) {
        view.verticalScrollBar()->setValue(to);
        QCoreApplication::processEvents();
        const QImage shown
            = view.screen()->grabWindow(view.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown, view.grab().toImage().convertToFormat(QImage::Format_RGB32)) << "scrolled to " << to;
    }
}

TEST(CustomOutlineView, StaysFullyExpandedWithoutTrianglesOrIndentation)
{
    CustomOutlineView outline;
    QStandardItemModel model;
    auto *group = new QStandardItem("g1");
    group->appendRow(new QStandardItem("a.jpg"));
    model.appendRow(group);
    outline.setModel(&model);
    EXPECT_TRUE(outline.isExpanded(model.index(0, 0)));
    outline.collapse(model.index(0, 0));
    EXPECT_TRUE(outline.isExpanded(model.index(0, 0)));
    auto *later = new QStandardItem("g2");
    later->appendRow(new QStandardItem("b.jpg"));
    model.appendRow(later);
    EXPECT_TRUE(outline.isExpanded(model.index(1, 0)));
    EXPECT_FALSE(outline.rootIsDecorated());
    EXPECT_EQ(outline.indentation(), 0);
    outline.resize(200, 100);
    outline.grab();
    const QRect child = outline.visualRect(model.index(0, 0, model.index(1, 0)));
    EXPECT_EQ(child.left(), 10);
    EXPECT_EQ(child.width(), outline.viewport()->width() - 20);
}

TEST(CustomCell, OwnsAndShowsThePartsItIsGiven)
{
    QPointer<QLabel> path = new QLabel("p");
    QPointer<QLabel> hidden = new QLabel("h");
    hidden->hide();
    {
        CustomCell cell;
        EXPECT_EQ(cell.lblFilePath(), nullptr);
        EXPECT_EQ(cell.cmbBox(), nullptr);
        cell.setLblFilePath(path);
        cell.setImgViewLock(hidden);
        EXPECT_EQ(cell.lblFilePath(), path.data());
        EXPECT_EQ(path->parent(), &cell);
        EXPECT_FALSE(path->isHidden());
        EXPECT_TRUE(hidden->isHidden());
    }
    EXPECT_TRUE(path.isNull());
    EXPECT_TRUE(hidden.isNull());
}

TEST(CustomScrollView, DefaultKnobIsNarrowerAndStartsTwoIn)
{
    const CustomScrollViewDefault grey(Qt::Vertical);
    EXPECT_EQ(grey.knobRectFor(QRectF(0, 10, 11, 40)), QRectF(2, 10, 6, 40));
    EXPECT_EQ(grey.knobColor(), QColor(170, 170, 170));
    const CustomScrollView slate(Qt::Vertical);
    EXPECT_EQ(slate.knobRectFor(QRectF(0, 10, 11, 40)), QRectF(1, 10, 9, 40));
    EXPECT_EQ(slate.knobColor(), QColor(85, 92, 118));
}

TEST(CustomScrollView, SlotShowsOnlyWhileHoveredInTheOverlayStyle)
{
    CustomScrollView bar(Qt::Vertical);
    bar.resize(11, 120);
    bar.setRange(0, 100);
    MouseEvents::enter(&bar);
    EXPECT_TRUE(bar.isHighlight());
    bar.grab();
    EXPECT_FALSE(bar.drewSlot());
    bar.setScrollerStyle(CustomScrollView::ScrollerStyle::Overlay);
    bar.grab();
    EXPECT_TRUE(bar.drewSlot());
    MouseEvents::leave(&bar);
    EXPECT_FALSE(bar.isHighlight());
    bar.grab();
    EXPECT_FALSE(bar.drewSlot());
}
