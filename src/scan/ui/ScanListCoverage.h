// What the scan list already covers, kept as sets of canonical paths so that a long saved list is
// restored in linear time: each new path costs one canonicalisation and a look-up per folder above
// it, never a pass over the list.
#pragma once

#include <vector>

#include <QSet>
#include <QString>

#include "app/GlobalObjects.h"
#include "model/FilePathNode.h"

class ScanListCoverage
{
public:
    ScanListCoverage() = default;
    explicit ScanListCoverage(const std::vector<FilePathNode> &nodes);

    // How a path meets the list; the list covers it unless None.
    enum class Overlap { None, Listed, Inside, Holds };

    // The same path, a path inside a listed folder, or a folder that holds a listed file or
    // folder (a Photos library holds nothing that counts).
    Overlap overlap(const QString &path) const;
    bool covers(const QString &path) const { return overlap(path) != Overlap::None; }
    void add(const QString &path, GlobalObjects::NodeType nodeType);

private:
    QSet<QString> m_listed;
    QSet<QString> m_folders;
    // Every folder above a listed file or folder.
    QSet<QString> m_holders;
};
