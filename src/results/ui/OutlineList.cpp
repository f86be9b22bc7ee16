// The results window's list mode.
#include "results/ui/OutlineList.h"

#include <algorithm>
#include <tuple>

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QEvent>
#include <QItemSelectionModel>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "app/CommonFunc.h"
#include "controls/CustomCell.h"
#include "controls/CustomOutlineView.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/OutsideText.h"
#include "platform/ui/BundleImage.h"
#include "results/ListColumns.h"
#include "results/ResultState.h"
#include "results/ResultTexts.h"
#include "results/ui/OutlineListDelegate.h"
#include "results/ui/OutlineListModel.h"

namespace
{

const QString kDateFormat = QStringLiteral("dd/MM/yyyy hh:mm:ss a");
// Room around a column title, so that neighbouring titles never run together.
constexpr int kTitlePadding = 8;

QLabel *cellLabel(const QString &text, bool withToolTip = true)
{
    auto *label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    if (withToolTip)
        label->setToolTip(OutsideText::toolTip(text));
    return label;
}

QHBoxLayout *rowLayout(QWidget *owner)
{
    auto *row = new QHBoxLayout(owner);
    row->setContentsMargins(ListColumns::kBoxX, 0, 6, 0);
    row->setSpacing(6);
    return row;
}

// A text that does not fit its column ends in an ellipsis; the tool tip keeps it whole.
void placeText(QLabel *label, const ListColumn &column, int height, Qt::TextElideMode mode = Qt::ElideRight)
{
    const QString whole = label->text();
    label->setGeometry(column.x, 0, column.width, height);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setText(label->fontMetrics().elidedText(whole, mode, column.width));
}

} // namespace

OutlineList::OutlineList(ResultState &state, QWidget *container, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_model(new OutlineListModel(state, this))
{
    auto *column = qobject_cast<QVBoxLayout *>(container->layout());
    if (!column)
        column = new QVBoxLayout(container);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildHeader(container));
    m_view = new CustomOutlineView(container);
    m_view->setObjectName(QStringLiteral("outlineDupliates"));
    m_view->header()->hide();
    m_view->setUniformRowHeights(true);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->setStyleSheet(QStringLiteral("QTreeView { background: rgb(38, 45, 63); border: none; }"));
    m_view->setModel(m_model);
    auto *delegate = new OutlineListDelegate(*m_model, m_view);
    m_delegate = delegate;
    delegate->checkBoxTapped = [this](const auto &record) {
        if (btnOutlineCheckBoxTapped)
            btnOutlineCheckBoxTapped(record);
    };
    m_view->setItemDelegate(delegate);
    column->addWidget(m_view, 1);
    m_view->viewport()->installEventFilter(this);
    m_view->installEventFilter(this);
    connect(m_view->header(), &QHeaderView::sectionResized, this, &OutlineList::layoutColumnTitles);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &OutlineList::outlineViewSelectionDidChange);
    connect(m_view, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        const QModelIndex index = m_view->indexAt(at);
        m_clicked = index;
        if (index.isValid() && showContextMenu)
            showContextMenu(m_view->viewport()->mapToGlobal(at), m_menuByKeyboard);
    });
}

OutlineList::~OutlineList() = default;

QWidget *OutlineList::buildHeader(QWidget *parent)
{
    m_header = new QWidget(parent);
    m_header->setObjectName(QStringLiteral("outlineHeader"));
    m_header->setFixedHeight(24);
    m_header->setAutoFillBackground(true);
    m_header->setStyleSheet(QStringLiteral("QWidget#outlineHeader { background: rgb(30, 36, 51); }"));
    lblFileName = cellLabel(QString(), false);
    lblFileSize = cellLabel(QString(), false);
    lblCreatedDate = cellLabel(QString(), false);
    lblFileType = cellLabel(QString(), false);
    lblFolderPath = cellLabel(QString(), false);
    for (QLabel *label : { lblFileName.data(), lblFileSize.data(), lblCreatedDate.data(), lblFileType.data(),
             lblFolderPath.data() })
        label->setParent(m_header);
    m_header->installEventFilter(this);
    return m_header;
}

int OutlineList::rowWidth() const
{
    return m_view->cellWidth();
}

int OutlineList::rowLeft() const
{
    return m_view->viewport()->x() + m_view->cellLeft();
}

// The titles stand over their columns where the view draws its rows.
void OutlineList::layoutColumnTitles()
{
    const int typeTitleWidth = lblFileType->fontMetrics().horizontalAdvance(lblFileType->text()) + kTitlePadding;
    if (typeTitleWidth != m_typeTitleWidth) {
        m_typeTitleWidth = typeTitleWidth;
        m_delegate->setTypeTitleWidth(typeTitleWidth);
        m_view->viewport()->update();
    }
    const ListColumns::Geometry columns = ListColumns::layout(rowWidth(), m_typeTitleWidth);
    const std::pair<QLabel *, ListColumns::Column> titles[] = { { lblFileName, ListColumns::Name },
        { lblFileSize, ListColumns::Size }, { lblCreatedDate, ListColumns::Date },
        { lblFileType, ListColumns::Type }, { lblFolderPath, ListColumns::Folder } };
    for (const auto &[label, column] : titles) {
        const ListColumn c = columns[column];
        label->setGeometry(rowLeft() + c.x, 0, c.width, m_header->height());
        label->setToolTip(label->fontMetrics().horizontalAdvance(label->text()) > c.width ? label->text()
                                                                                           : QString());
    }
}

bool OutlineList::eventFilter(QObject *watched, QEvent *event)
{
    const bool geometry = event->type() == QEvent::Resize || event->type() == QEvent::Show;
    // The view stretches its column after the viewport's resize, so the titles follow afterwards.
    if (geometry && (watched == m_header || watched == m_view->viewport()))
        QMetaObject::invokeMethod(this, &OutlineList::layoutColumnTitles, Qt::QueuedConnection);
    if (event->type() == QEvent::ContextMenu)
        m_menuByKeyboard = static_cast<QContextMenuEvent *>(event)->reason() != QContextMenuEvent::Mouse;
    // Space ticks the current file's box, as a click on it does (a locked file shows no box).
    // The type is asked first: a view being destroyed still sends events, and comparing with it
    // then would reach a half-destroyed object.
    if (event->type() == QEvent::KeyPress && watched == m_view
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space
        && static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier) {
        auto record = m_model->recordAt(m_view->currentIndex());
        if (record && !record->isMark && record->isLocked)
            record = nullptr;
        if (record && btnOutlineCheckBoxTapped)
            btnOutlineCheckBoxTapped(record);
        return record != nullptr;
    }
    return QObject::eventFilter(watched, event);
}

CustomCell *OutlineList::makeGroupCell(const DuplicatesGroup &group, int groupIndex)
{
    auto *cell = new CustomCell;
    cell->setObjectName(QStringLiteral("idHeaderCell"));
    auto *row = rowLayout(cell);
    cell->setLblTextField(cellLabel(ResultTexts::groupTitle(groupIndex), false));
    cell->setLblCount(cellLabel(ResultTexts::groupCount(int(group.filterChildren.size()), group), false));
    QFont bold = cell->lblTextField()->font();
    bold.setBold(true);
    cell->lblTextField()->setFont(bold);
    row->addWidget(cell->lblTextField(), 1);
    row->addWidget(cell->lblCount());
    return cell;
}

CustomCell *OutlineList::makeFileCell(const ImageFileInfo &record, int rowWidth, int typeTitleWidth)
{
    auto *cell = new CustomCell;
    cell->setObjectName(QStringLiteral("outlineViewCell"));
    const int height = OutlineListModel::kRowHeight;
    cell->resize(rowWidth, height);
    const ListColumns::Geometry columns = ListColumns::layout(rowWidth, typeTitleWidth);
    auto *check = new QCheckBox;
    // The rows are pictures: the list takes the clicks and keys, not the box.
    check->setFocusPolicy(Qt::NoFocus);
    auto *lock = new QLabel;
    lock->setAlignment(Qt::AlignCenter);
    lock->setPixmap(BundleImage::named(QStringLiteral("lock_icon")).pixmap(QSize(16, 16)));
    cell->setBtnCheckBox(check);
    cell->setImgViewLock(lock);
    // The box and the lock share one place, so a hidden one never shifts the columns.
    for (QWidget *box : { static_cast<QWidget *>(check), static_cast<QWidget *>(lock) }) {
        box->setParent(cell);
        box->setGeometry(ListColumns::boxRect(height));
    }
    // Marked wins over locked: a marked file always shows its ticked box.
    check->setChecked(record.isMark);
    check->setVisible(record.isMark || !record.isLocked);
    lock->setVisible(!record.isMark && record.isLocked);
    cell->setLblTextField(cellLabel(OutsideText::name(record.fileName)));
    cell->setLblSize(cellLabel(CommonFunc::formattedSize(QVariant::fromValue<qulonglong>(record.fileSize))));
    cell->setLblCretedDate(
        cellLabel(CommonFunc::getDateTimeStringFrom(record.createDate, kDateFormat).value_or(QString())));
    const QString extension = OutsideText::name(QFileInfo(record.filePath).suffix());
    cell->setLblExt(cellLabel(record.filePath.isEmpty() ? QString()
            : extension.isEmpty()                       ? QStringLiteral("-")
                                                        : extension));
    cell->setLblFilePath(cellLabel(
        record.filePath.isEmpty() ? QString() : OutsideText::name(QFileInfo(record.filePath).path())));
    const std::tuple<QLabel *, ListColumns::Column, Qt::TextElideMode> texts[] = {
        { cell->lblTextField(), ListColumns::Name, Qt::ElideRight },
        { cell->lblSize(), ListColumns::Size, Qt::ElideRight },
        { cell->lblCretedDate(), ListColumns::Date, Qt::ElideRight },
        { cell->lblExt(), ListColumns::Type, Qt::ElideRight },
        // The end of a folder path tells most, so a long one loses its middle.
        { cell->lblFilePath(), ListColumns::Folder, Qt::ElideMiddle } };
    for (const auto &[label, column, mode] : texts) {
        label->setParent(cell);
        placeText(label, columns[column], height, mode);
    }
    return cell;
}

void OutlineList::reloadData(const std::shared_ptr<ImageFileInfo> &current)
{
    m_reloading = true;
    // The outline expands every group itself after a reset.
    m_model->reload();
    m_clicked = QPersistentModelIndex();
    m_reloading = false;
    if (current)
        selectRecord(current.get());
}

void OutlineList::selectRecord(const ImageFileInfo *record)
{
    const QModelIndex index = m_model->indexOfRecord(record);
    if (!index.isValid())
        return;
    // The selected row is the current one too: the keys go on from it and its focus mark shows.
    m_view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_view->scrollToWithGroupTitle(index);
}

std::shared_ptr<ImageFileInfo> OutlineList::selectedRecord() const
{
    QModelIndexList selected = m_view->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return nullptr;
    const auto top = std::min_element(selected.begin(), selected.end(), [this](const auto &a, const auto &b) {
        return m_view->visualRect(a).y() < m_view->visualRect(b).y();
    });
    if (const auto record = m_model->recordAt(*top))
        return record;
    const auto group = m_model->groupAt(*top);
    return group && !group->filterChildren.isEmpty() ? group->filterChildren.first() : nullptr;
}

std::shared_ptr<ImageFileInfo> OutlineList::clickedRecord() const
{
    return m_model->recordAt(m_clicked);
}

void OutlineList::setClickedRow(int row)
{
    m_clicked = indexOfVisualRow(row);
}

void OutlineList::outlineViewSelectionDidChange()
{
    if (m_reloading)
        return;
    const auto record = selectedRecord();
    if (!record)
        return;
    if (fillMetaDataTable)
        fillMetaDataTable(record);
    if (changeAllComponents)
        changeAllComponents(record);
}

QModelIndex OutlineList::indexOfVisualRow(int row) const
{
    int seen = 0;
    for (int g = 0; g < m_model->rowCount(); ++g) {
        const QModelIndex group = m_model->index(g, 0);
        if (seen++ == row)
            return group;
        const int files = m_model->rowCount(group);
        if (row < seen + files)
            return m_model->index(row - seen, 0, group);
        seen += files;
    }
    return {};
}

int OutlineList::rowCount() const
{
    int rows = 0;
    for (int g = 0; g < m_model->rowCount(); ++g)
        rows += 1 + m_model->rowCount(m_model->index(g, 0));
    return rows;
}

CustomCell *OutlineList::viewForRow(int row) const
{
    const QModelIndex index = indexOfVisualRow(row);
    if (const auto group = m_model->groupAt(index))
        return makeGroupCell(*group, index.row());
    if (const auto record = m_model->recordAt(index))
        return makeFileCell(*record, rowWidth(), m_typeTitleWidth);
    return nullptr;
}

QColor OutlineList::rowColor(int row) const
{
    return indexOfVisualRow(row).data(Qt::BackgroundRole).value<QColor>();
}
