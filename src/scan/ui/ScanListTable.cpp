#include "scan/ui/ScanListTable.h"

#include <algorithm>

#include <QHeaderView>

#include "controls/CustomTableView.h"
#include "controls/KeyPressFilter.h"
#include "scan/ui/ScanListDelegate.h"
#include "scan/ui/ScanListModel.h"

namespace
{

constexpr int kRowHeight = 32;

// The table's rows and what draws them, made at its first reload. The list is one stop of the Tab
// key; its keys reach the box and the button of the current row.
ScanListModel *setUp(CustomTableView *table)
{
    auto *model = new ScanListModel(table);
    auto *delegate = new ScanListDelegate(table);
    table->setModel(model);
    table->setItemDelegate(delegate);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setDefaultSectionSize(kRowHeight);
    KeyPressFilter::install(table, [table, delegate](const QKeyEvent *event) {
        return delegate->pressKey(table->model(), table->currentIndex(), event);
    });
    return model;
}

} // namespace

void ScanListTable::reload(CustomTableView *table, const std::vector<FilePathNode> &nodes, ScanSource source,
    const Actions &actions, const QHash<QString, EntryAnswer> &answers)
{
    auto *model = qobject_cast<ScanListModel *>(table->model());
    if (!model)
        model = setUp(table);
    if (auto *delegate = qobject_cast<ScanListDelegate *>(table->itemDelegate()))
        delegate->setActions(actions);
    const int current = table->currentIndex().row();
    model->setRows(nodes, source, answers);
    if (current >= 0 && !nodes.empty())
        table->setCurrentIndex(model->index(std::min(current, int(nodes.size()) - 1), 0));
}
