// The rows of the scan-list table: a cell per entry with its check box, path, icon and delete
// button, wired to the scan list's row actions.
#pragma once

#include <functional>
#include <vector>

#include "app/GlobalObjects.h"
#include "model/FilePathNode.h"

class CustomTableView;

class ScanListTable
{
public:
    struct Actions {
        std::function<void(int row, bool checked)> checkChanged;
        std::function<void(int row)> remove;
    };

    // Rebuilds the table's rows from `nodes`; `source` is the scan source the nodes belong to.
    static void reload(
        CustomTableView *table, const std::vector<FilePathNode> &nodes, ScanSource source, const Actions &actions);
    // The text a row shows for `path` (the start-up volume's name for the root folder).
    static QString displayPath(const QString &path, ScanSource source);
    // False for an entry of this computer that cannot be found now (an unplugged drive): its row
    // is greyed and tells why.
    static bool isAvailable(const QString &path, ScanSource source);
};
