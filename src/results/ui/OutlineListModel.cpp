// Tree of groups and files for the results list.
#include "results/ui/OutlineListModel.h"

#include <QSize>

#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/OutsideText.h"
#include "results/ResultState.h"

namespace
{

// Internal id 0 marks a group row; a file row carries its group's index plus one, times an odd
// constant. The views keep a persistent index for every row they expand, and the model files those
// under a hash of row and internal id whose low bits pick the slot: plain group numbers would crowd
// all file rows into one run of slots, and every lookup, insertion and removal (each expansion,
// reset and the window's closing) would walk it. The product spreads them, and since the constant
// is odd it can be undone.
constexpr quintptr kGroupRow = 0;
constexpr quintptr kSpread = quintptr(0x9E3779B97F4A7C15ULL) | 1;

// The inverse of kSpread modulo the word size, by Newton's iteration (each step doubles the bits).
constexpr quintptr inverseOf(quintptr odd)
{
    quintptr inverse = odd;
    for (int i = 0; i < 6; ++i)
        inverse *= 2 - odd * inverse;
    return inverse;
}
constexpr quintptr kUnspread = inverseOf(kSpread);
static_assert(kSpread * kUnspread == 1);

quintptr fileRowId(int groupIndex)
{
    return (quintptr(groupIndex) + 1) * kSpread;
}

int groupOfFileRow(quintptr internalId)
{
    return int(internalId * kUnspread - 1);
}

} // namespace

OutlineListModel::OutlineListModel(const ResultState &state, QObject *parent)
    : QAbstractItemModel(parent)
    , m_state(state)
{
}

void OutlineListModel::reload()
{
    beginResetModel();
    endResetModel();
}

QModelIndex OutlineListModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || column != 0 || row >= rowCount(parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, column, kGroupRow);
    return createIndex(row, column, fileRowId(parent.row()));
}

QModelIndex OutlineListModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalId() == kGroupRow)
        return {};
    return createIndex(groupOfFileRow(child.internalId()), 0, kGroupRow);
}

int OutlineListModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return int(m_state.arrGroups.size());
    if (parent.internalId() != kGroupRow)
        return 0;
    const auto group = groupAt(parent);
    return group ? int(group->filterChildren.size()) : 0;
}

int OutlineListModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant OutlineListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::SizeHintRole:
        return QSize(0, kRowHeight);
    case Qt::BackgroundRole:
        if (groupAt(index))
            return groupRowColor();
        return recordAt(index) ? QVariant(fileRowColor(groupIndexOf(index))) : QVariant();
    case Qt::DisplayRole: {
        if (const auto record = recordAt(index))
            return record->fileName;
        return {};
    }
    case Qt::ToolTipRole:
        // The rows are pictures whose name and folder may end in "…": the tip shows the file whole.
        if (const auto record = recordAt(index))
            return OutsideText::toolTip(
                OutsideText::name(record->filePath.isEmpty() ? record->fileName : record->filePath));
        return {};
    default:
        return {};
    }
}

QVariant OutlineListModel::headerData(int, Qt::Orientation, int) const
{
    return {};
}

Qt::ItemFlags OutlineListModel::flags(const QModelIndex &index) const
{
    if (recordAt(index))
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

std::shared_ptr<DuplicatesGroup> OutlineListModel::groupAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.internalId() != kGroupRow)
        return nullptr;
    const auto row = size_t(index.row());
    return row < m_state.arrGroups.size() ? m_state.arrGroups[row] : nullptr;
}

std::shared_ptr<ImageFileInfo> OutlineListModel::recordAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.internalId() == kGroupRow)
        return nullptr;
    const auto group = groupAt(parent(index));
    if (!group || index.row() >= group->filterChildren.size())
        return nullptr;
    return group->filterChildren.at(index.row());
}

int OutlineListModel::groupIndexOf(const QModelIndex &index) const
{
    if (!index.isValid())
        return -1;
    return index.internalId() == kGroupRow ? index.row() : groupOfFileRow(index.internalId());
}

QModelIndex OutlineListModel::indexOfRecord(const ImageFileInfo *record) const
{
    if (const auto position = m_state.positionOf(record))
        return index(position->second, 0, index(position->first, 0));
    return {};
}

QColor OutlineListModel::groupRowColor()
{
    return QColor(24, 30, 48);
}

QColor OutlineListModel::fileRowColor(int groupIndex)
{
    return groupIndex % 2 == 0 ? QColor(38, 45, 63) : QColor(51, 58, 81);
}
