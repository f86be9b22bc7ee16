// The scan-list table: one row per entry with its check box, icon, path and delete button, drawn
// from the list (ScanListModel, ScanListDelegate) rather than made of widgets, and wired to the scan
// list's row actions.
#pragma once

#include <functional>
#include <vector>

#include <QHash>

#include "app/GlobalObjects.h"
#include "model/FilePathNode.h"
#include "scan/ui/ScanListState.h"

class CustomTableView;

class ScanListTable
{
public:
    struct Actions {
        std::function<void(int row, bool checked)> checkChanged;
        std::function<void(int row)> remove;
    };

    // Brings the table's rows up to date with `nodes`; `source` is the scan source the nodes belong
    // to, and `answers` what the last look at an entry of this computer found. The current row stays
    // where it was (the last one when the list got shorter) and the list stays scrolled where it
    // was, so the arrows and the Menu key go on from there. Nothing is looked at here.
    static void reload(CustomTableView *table, const std::vector<FilePathNode> &nodes, ScanSource source,
        const Actions &actions, const QHash<QString, EntryAnswer> &answers);
};
