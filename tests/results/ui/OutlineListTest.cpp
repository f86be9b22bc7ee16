// The results list: rows of groups and files, their texts, colours and boxes, the selection's
// preview, and switching between list and grid with the current file kept.
#include <set>

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionButton>

#include "controls/CustomCell.h"
#include "controls/CustomOutlineView.h"
#include "model/ExifInfo.h"
#include "results/ResultTexts.h"
#include "results/ui/OutlineList.h"
#include "results/ui/OutlineListModel.h"
#include "results/ui/ResultWindowFixture.h"
#include "results/ui/ResultsGridView.h"

namespace
{

void click(QWidget *widget, const QPoint &at)
{
    for (QEvent::Type type : { QEvent::MouseButtonPress, QEvent::MouseButtonRelease }) {
        QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    }
}

class OutlineListTest : public ResultWindowFixture
{
protected:
    void SetUp() override
    {
        ResultWindowFixture::SetUp();
        open();
        first = photos(QStringLiteral("a"), 2);
        second = photos(QStringLiteral("b"), 3);
        third = photos(QStringLiteral("c"), 2);
        enter({ first, second, third });
        controller->showListingTypeView(false);
        list().reloadData();
    }

    OutlineList &list() { return builder->outlineList(); }

    std::shared_ptr<DuplicatesGroup> first, second, third;
};

TEST_F(OutlineListTest, ListsAGroupRowThenItsFilesWithTheirTexts)
{
    ASSERT_EQ(list().rowCount(), 3 + 2 + 3 + 2);
    std::unique_ptr<CustomCell> header(list().viewForRow(3));
    EXPECT_EQ(header->objectName(), "idHeaderCell");
    EXPECT_EQ(header->lblTextField()->text(), ResultTexts::groupTitle(1));
    EXPECT_EQ(
        header->lblCount()->text(), QStringLiteral("3 ") + localizedString(QStringLiteral("ID_PHOTOS")));
    std::unique_ptr<CustomCell> file(list().viewForRow(4));
    const auto &record = second->filterChildren.first();
    EXPECT_EQ(file->objectName(), "outlineViewCell");
    EXPECT_EQ(file->lblTextField()->text(), record->fileName);
    EXPECT_EQ(file->lblTextField()->toolTip(), record->fileName);
    EXPECT_EQ(file->lblExt()->text(), "jpg");
    // The folder is whole, or shortened in its middle where the temporary folder's path is long.
    const QLabel *folder = file->lblFilePath();
    EXPECT_EQ(folder->text(), folder->fontMetrics().elidedText(dir.path(), Qt::ElideMiddle, folder->width()));
    EXPECT_EQ(folder->toolTip(), dir.path());
    EXPECT_FALSE(file->lblCretedDate()->text().isEmpty());
    EXPECT_EQ(list().viewForRow(99), nullptr);
}

TEST_F(OutlineListTest, FileColumnsStandUnderTheirTitlesAndLongTextsEndInAnEllipsis)
{
    for (const QSize size : { QSize(1040, 679), QSize(1024, 700) }) {
        controller->view()->resize(size);
        QCoreApplication::processEvents();
        std::unique_ptr<CustomCell> file(list().viewForRow(1));
        ASSERT_NE(file, nullptr);
        // The rows are drawn where the view places its cells.
        EXPECT_EQ(list().rowWidth(), list().outlineDupliates()->visualRect(list().model().index(0, 0)).width());
        EXPECT_EQ(file->width(), list().rowWidth());
        const std::pair<QLabel *, QLabel *> columns[] = { { file->lblTextField(), list().lblFileName },
            { file->lblSize(), list().lblFileSize }, { file->lblCretedDate(), list().lblCreatedDate },
            { file->lblExt(), list().lblFileType }, { file->lblFilePath(), list().lblFolderPath } };
        for (const auto &[cell, title] : columns) {
            EXPECT_EQ(list().rowLeft() + cell->x(), title->x()) << title->text().toStdString();
            EXPECT_EQ(cell->width(), title->width()) << title->text().toStdString();
        }
        // Neighbouring titles never run together.
        for (size_t i = 1; i < std::size(columns); ++i)
            EXPECT_LT(columns[i - 1].second->geometry().right(), columns[i].second->x());
        EXPECT_LE(list().lblFileType->fontMetrics().horizontalAdvance(list().lblFileType->text()),
            list().lblFileType->width());
    }
    ImageFileInfo deep;
    deep.filePath = QStringLiteral("/") + QStringLiteral("a-rather-long-folder-name/").repeated(12)
        + QStringLiteral("x.jpg");
    std::unique_ptr<CustomCell> cell(OutlineList::makeFileCell(deep, 700));
    EXPECT_TRUE(cell->lblFilePath()->text().contains(QChar(0x2026)));
    EXPECT_EQ(cell->lblFilePath()->toolTip(), QFileInfo(deep.filePath).path());
}

TEST_F(OutlineListTest, TheBoxTakesClicksWhereItIsDrawnAtEveryWidth)
{
    const auto record = second->filterChildren.first();
    int taps = 0;
    list().btnOutlineCheckBoxTapped = [&taps](const auto &) { ++taps; };
    CustomOutlineView *view = list().outlineDupliates();
    for (const QSize size : { QSize(1040, 679), QSize(1300, 900) }) {
        controller->view()->resize(size);
        QCoreApplication::processEvents();
        const QRect row = view->visualRect(list().model().indexOfRecord(record.get()));
        std::unique_ptr<CustomCell> cell(OutlineList::makeFileCell(*record, row.width()));
        const QRect box = cell->btnCheckBox()->geometry().translated(row.topLeft());
        QStyleOptionButton option;
        option.initFrom(cell->btnCheckBox());
        const QRect drawn = cell->btnCheckBox()->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option,
            cell->btnCheckBox()).translated(box.topLeft());
        // The view paints the box there: light on the dark row.
        EXPECT_GT(view->viewport()->grab().toImage().pixelColor(drawn.center()).lightness(), 150);
        const std::pair<QPoint, int> probes[] = { { drawn.topLeft(), 1 }, { drawn.bottomRight(), 1 },
            { box.topLeft() - QPoint(1, 0), 0 }, { box.topRight() + QPoint(1, 0), 0 } };
        for (const auto &[at, tapped] : probes) {
            const int before = taps;
            click(view->viewport(), at);
            EXPECT_EQ(taps - before, tapped) << size.width() << " at " << at.x() << "," << at.y();
        }
    }
}

TEST_F(OutlineListTest, KeysStepOverGroupRows)
{
    CustomOutlineView *view = list().outlineDupliates();
    OutlineListModel &model = list().model();
    view->setCurrentIndex(model.indexOfRecord(first->filterChildren.last().get()));
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &down);
    EXPECT_EQ(view->currentIndex(), model.indexOfRecord(second->filterChildren.first().get()));
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &up);
    EXPECT_EQ(view->currentIndex(), model.indexOfRecord(first->filterChildren.last().get()));
    EXPECT_EQ(list().selectedRecord(), first->filterChildren.last());
}

TEST_F(OutlineListTest, ShiftF10AsksForTheCurrentRowsMenu)
{
    CustomOutlineView *view = list().outlineDupliates();
    const QModelIndex current = list().model().indexOfRecord(second->filterChildren.at(1).get());
    view->setCurrentIndex(current);
    std::optional<QPoint> shownAt;
    bool byKeyboard = false;
    list().showContextMenu = [&](const QPoint &at, bool keyboard) { shownAt = at, byKeyboard = keyboard; };
    QKeyEvent shiftF10(QEvent::KeyPress, Qt::Key_F10, Qt::ShiftModifier);
    QCoreApplication::sendEvent(view, &shiftF10);
    ASSERT_TRUE(shownAt);
    EXPECT_TRUE(byKeyboard);
    EXPECT_EQ(view->indexAt(view->viewport()->mapFromGlobal(*shownAt)), current);
}

TEST_F(OutlineListTest, VideoGroupsAndFilesWithoutExtensionOrDate)
{
    ImageFileInfo bare;
    bare.fileName = QStringLiteral("README");
    bare.filePath = QStringLiteral("/x/README");
    std::unique_ptr<CustomCell> cell(OutlineList::makeFileCell(bare));
    EXPECT_EQ(cell->lblExt()->text(), "-");
    EXPECT_EQ(cell->lblCretedDate()->text(), "");
    auto clip = video(QStringLiteral("clip"));
    auto g = ResultsTestRecords::group({ clip, video(QStringLiteral("clip2")) });
    g->filterChildren = g->children;
    std::unique_ptr<CustomCell> header(OutlineList::makeGroupCell(*g, 0));
    EXPECT_TRUE(header->lblCount()->text().endsWith(localizedString(QStringLiteral("ID_VIDEOS"))));
}

TEST_F(OutlineListTest, MarkedFileShowsTickedBoxEvenWhenLockedAndLockedShowsLock)
{
    ImageFileInfo r;
    r.filePath = QStringLiteral("/p/a.jpg");
    r.isMark = true;
    r.isLocked = true;
    std::unique_ptr<CustomCell> marked(OutlineList::makeFileCell(r));
    EXPECT_FALSE(marked->btnCheckBox()->isHidden());
    EXPECT_TRUE(marked->btnCheckBox()->isChecked());
    EXPECT_TRUE(marked->imgViewLock()->isHidden());
    r.isMark = false;
    std::unique_ptr<CustomCell> locked(OutlineList::makeFileCell(r));
    EXPECT_TRUE(locked->btnCheckBox()->isHidden());
    EXPECT_FALSE(locked->imgViewLock()->isHidden());
}

TEST_F(OutlineListTest, RowColoursAlternateByGroupWithDarkerGroupRows)
{
    EXPECT_EQ(list().rowColor(0), QColor(24, 30, 48));
    EXPECT_EQ(list().rowColor(1), QColor(38, 45, 63));
    EXPECT_EQ(list().rowColor(4), QColor(51, 58, 81));
    EXPECT_EQ(list().rowColor(9), QColor(38, 45, 63));
    EXPECT_EQ(list().model().rowCount(list().model().index(0, 0)), 2);
    EXPECT_FALSE(list().model().flags(list().model().index(0, 0)) & Qt::ItemIsSelectable);
}

TEST_F(OutlineListTest, SelectingSeveralFilesPreviewsTheTopmostAndGroupRowsSelectNothing)
{
    OutlineListModel &model = list().model();
    QItemSelectionModel *selection = list().outlineDupliates()->selectionModel();
    const QModelIndex lower = model.indexOfRecord(third->filterChildren.first().get());
    const QModelIndex upper = model.indexOfRecord(second->filterChildren.at(1).get());
    selection->select(lower, QItemSelectionModel::ClearAndSelect);
    selection->select(upper, QItemSelectionModel::Select);
    EXPECT_EQ(controller->previewedRecord(), second->filterChildren.at(1));
    EXPECT_EQ(builder->previewPane().pathViewController->pathStr(), second->filterChildren.at(1)->filePath);
    const int before = controller->previewRequestCount();
    click(list().outlineDupliates()->viewport(),
        list().outlineDupliates()->visualRect(model.index(0, 0)).center());
    EXPECT_EQ(controller->previewRequestCount(), before);
}

TEST_F(OutlineListTest, SwitchingBetweenListAndGridKeepsTheCurrentFile)
{
    const auto chosen = third->filterChildren.at(1);
    list().selectRecord(chosen.get());
    ASSERT_EQ(controller->previewedRecord(), chosen);
    QAction *toGrid = controller->menuListType->actions().at(1);
    controller->menuListType->triggered(toGrid);
    EXPECT_TRUE(controller->isShowingThumbView);
    EXPECT_EQ(controller->previewedRecord(), chosen);
    ASSERT_FALSE(controller->currentSelectedIndexs.isEmpty());
    EXPECT_EQ(controller->currentSelectedIndexs.last().section, 2);
    EXPECT_EQ(controller->currentSelectedIndexs.last().item, 1);
    controller->menuListType->triggered(controller->menuListType->actions().at(0));
    EXPECT_FALSE(controller->isShowingThumbView);
    EXPECT_EQ(list().selectedRecord(), chosen);
}

// A reload (after a change of the matching level or a removal) selects the file shown in the
// preview again; scrolled to from below, the first file keeps its group's title in view.
TEST_F(OutlineListTest, AReloadKeepsTheFirstGroupTitleInView)
{
    std::vector<std::shared_ptr<DuplicatesGroup>> many;
    for (int i = 0; i < 30; ++i)
        many.push_back(photos(QStringLiteral("g%1-").arg(i), 2));
    enter(many);
    list().reloadData();
    CustomOutlineView *view = list().outlineDupliates();
    view->scrollToBottom();
    list().reloadData(many.front()->filterChildren.first());
    const QRect title = view->visualRect(list().model().index(0, 0));
    EXPECT_TRUE(!title.isEmpty() && title.top() >= 0) << title.top();
    EXPECT_EQ(list().selectedRecord(), many.front()->filterChildren.first());
}

TEST_F(OutlineListTest, FileCommandsUseTheClickedRowAndIgnoreGroupRows)
{
    std::vector<QUrl> opened;
    builder->fileActions().openUrl = [&](const QUrl &url) { opened.push_back(url); };
    list().setClickedRow(0);
    builder->menuItemOpen->trigger();
    EXPECT_TRUE(opened.empty());
    list().setClickedRow(2);
    builder->menuItemOpen->trigger();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened.front().toLocalFile(), first->filterChildren.at(1)->filePath);
}

} // namespace

// Expanded rows are persistent indexes filed by qHash's low bits: file rows must not crowd together.
TEST(OutlineListModelTest, FileRowsOfAThousandGroupsSpreadOverTheSlotsOfAHash)
{
    ResultState state;
    for (int g = 0; g < 1000; ++g)
        state.arrGroups.emplace_back(std::make_shared<DuplicatesGroup>())->filterChildren.resize(1);
    OutlineListModel model(state);
    std::set<size_t> taken;
    for (int g = 0; g < 1000; ++g)
        taken.insert(qHash(model.index(0, 0, model.index(g, 0))) & 8191);
    EXPECT_GT(*taken.rbegin() - *taken.begin(), 4096u);
}
