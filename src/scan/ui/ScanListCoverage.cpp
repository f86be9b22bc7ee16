#include "scan/ui/ScanListCoverage.h"

#include <QFileInfo>

#include "scan/ui/ScanListRules.h"

namespace
{

// "/a/b/c" gives "/a/b", "/a" and "/".
template <typename Visit> bool anyFolderAbove(const QString &canonical, Visit visit)
{
    qsizetype end = canonical.lastIndexOf(QLatin1Char('/'));
    while (end >= 0 && canonical.size() > 1) {
        const QString above = end == 0 ? QStringLiteral("/") : canonical.left(end);
        if (visit(above))
            return true;
        if (end == 0)
            break;
        end = canonical.lastIndexOf(QLatin1Char('/'), end - 1);
    }
    return false;
}

} // namespace

ScanListCoverage::ScanListCoverage(const std::vector<FilePathNode> &nodes)
{
    for (const FilePathNode &node : nodes) {
        if (node.filePath)
            add(*node.filePath, node.nodeType);
    }
}

ScanListCoverage::Overlap ScanListCoverage::overlap(const QString &path) const
{
    const QString candidate = ScanListRules::canonicalPath(path);
    if (m_listed.contains(candidate))
        return Overlap::Listed;
    if (anyFolderAbove(candidate, [this](const QString &above) { return m_folders.contains(above); }))
        return Overlap::Inside;
    if (m_holders.contains(candidate) && QFileInfo(candidate).isDir())
        return Overlap::Holds;
    return Overlap::None;
}

void ScanListCoverage::add(const QString &path, GlobalObjects::NodeType nodeType)
{
    const QString canonical = ScanListRules::canonicalPath(path);
    m_listed.insert(canonical);
    if (nodeType == GlobalObjects::NodeType::nodeTypefolder)
        m_folders.insert(canonical);
    if (nodeType == GlobalObjects::NodeType::nodeTypePhotos)
        return;
    anyFolderAbove(canonical, [this](const QString &above) {
        // Folders above an earlier entry are already in; the rest of the way up is too.
        if (m_holders.contains(above))
            return true;
        m_holders.insert(above);
        return false;
    });
}
