// The rows of the scan-list table: a cell per entry with its check box, path, icon and delete
// button, wired to the scan list's row actions.
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
    // to, and `answers` what the last look at an entry of this computer found. Each row keeps its
    // cell, changed only where its entry shows differently; rows are made or dropped at the end
    // only, so a change to a long list costs no rebuilt widgets. The cells of new rows are made a
    // few frames' time at a time: true while rows without their cell remain, for addCells() to make
    // from the event loop. Nothing is looked at here.
    static bool reload(CustomTableView *table, const std::vector<FilePathNode> &nodes, ScanSource source,
        const Actions &actions, const QHash<QString, EntryAnswer> &answers);
    // Makes the cells of the next rows without one, for a few frames' time; true while more remain.
    static bool addCells(CustomTableView *table, const std::vector<FilePathNode> &nodes, ScanSource source,
        const Actions &actions, const QHash<QString, EntryAnswer> &answers);
    // The text a row shows for `path` (the start-up volume's name for the root folder).
    static QString displayPath(const QString &path, ScanSource source);

private:
    // The rows, from the first, that have their cell.
    static int rowsWithCells(const CustomTableView *table);
};
