// Records and groups for the results tests, built in memory.
#pragma once

#include <cmath>
#include <memory>
#include <vector>

#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"

namespace ResultsTestRecords {

inline std::shared_ptr<ImageFileInfo> record(const QString &name, float match, std::uint64_t size = 1000,
                                             bool video = false)
{
    auto r = std::make_shared<ImageFileInfo>();
    r->fileName = name;
    r->filePath = QStringLiteral("/photos/") + name;
    r->filePathUrl = QUrl::fromLocalFile(r->filePath);
    r->match = match;
    r->fileSize = size;
    r->isVideo = video;
    return r;
}

inline std::shared_ptr<DuplicatesGroup> group(const std::vector<std::shared_ptr<ImageFileInfo>> &members)
{
    auto g = std::make_shared<DuplicatesGroup>();
    for (const auto &m : members) {
        g->children.append(m);
        m->parent = g;
    }
    return g;
}

// Each member's best match is the next one (the last one's is the first).
inline void chainMatches(const std::shared_ptr<DuplicatesGroup> &g)
{
    for (qsizetype i = 0; i < g->children.size(); ++i)
        g->children[i]->matchesWithNode = g->children[(i + 1) % g->children.size()];
}

inline QStringList names(const QList<std::shared_ptr<ImageFileInfo>> &records)
{
    QStringList list;
    for (const auto &r : records)
        list.append(r->fileName);
    return list;
}

inline QStringList names(const std::vector<std::shared_ptr<ImageFileInfo>> &records)
{
    return names(QList<std::shared_ptr<ImageFileInfo>>(records.begin(), records.end()));
}

} // namespace ResultsTestRecords
