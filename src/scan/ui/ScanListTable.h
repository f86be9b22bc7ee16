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

    // Rebuilds the table's rows from `nodes`; `source` is the scan source the nodes belong to, and
    // `answers` what the last look at an entry of this computer found. Nothing is looked at here.
    static void reload(CustomTableView *table, const std::vector<FilePathNode> &nodes, ScanSource source,
        const Actions &actions, const QHash<QString, EntryAnswer> &answers);
    // The text a row shows for `path` (the start-up volume's name for the root folder).
    static QString displayPath(const QString &path, ScanSource source);
};
