// Real files in a temporary folder, their records and groups in a ResultState, and a way to run a
// removal to its end. Shared by the logic and the window tests of the removal.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/FileFacts.h"
#include "platform/Trash.h"
#include "results/ResultState.h"
#include "support/TestFiles.h"

namespace RemovalFixture
{

// A record of the file at `path` as a scan would have made it.
inline std::shared_ptr<ImageFileInfo> recordOf(const QString &path, bool video = false)
{
    auto r = std::make_shared<ImageFileInfo>();
    r->filePath = path;
    r->fileName = QFileInfo(path).fileName();
    r->filePathUrl = QUrl::fromLocalFile(path);
    const FileAttributes facts = FileFacts::attributes(path).value_or(FileAttributes());
    r->fileSize = std::uint64_t(facts.size);
    r->modDate = facts.modificationDate;
    r->modificationNanoseconds = facts.modificationNanoseconds;
    r->changeDate = facts.changeDate;
    r->fileIdentity = facts.identity;
    r->match = 1.0f;
    r->isVideo = video;
    return r;
}

inline std::shared_ptr<DuplicatesGroup> groupOf(const std::vector<std::shared_ptr<ImageFileInfo>> &members)
{
    auto g = std::make_shared<DuplicatesGroup>();
    for (const auto &m : members) {
        g->children.append(m);
        m->parent = g;
    }
    return g;
}

// Shows `groups` in `state` as the results window does after a scan.
inline void show(ResultState &state, const std::vector<std::shared_ptr<DuplicatesGroup>> &groups)
{
    state.enterGroups(groups);
    state.applyLevel(0.0f);
}

inline bool waitUntil(const std::function<bool()> &done, int milliseconds = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// The names of the files in the home Trash, and whether each has its .trashinfo.
inline QStringList trashedNames()
{
    const QDir files(Trash::homeTrashFolder() + QStringLiteral("/files"));
    QStringList names = files.entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot);
    for (QString &name : names) {
        const bool info = QFile::exists(
            Trash::homeTrashFolder() + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo"));
        if (!info)
            name += QStringLiteral(" (no trashinfo)");
    }
    names.sort();
    return names;
}

inline void emptyTrash()
{
    QDir(Trash::homeTrashFolder()).removeRecursively();
}

// A folder of files; each file's content is its own name unless given, so files differ.
class Corpus
{
public:
    Corpus() { EXPECT_TRUE(m_dir.isValid()); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    std::shared_ptr<ImageFileInfo> file(const QString &name, const QByteArray &content = {})
    {
        const QString p = path(name);
        EXPECT_TRUE(TestFiles::write(p, content.isEmpty() ? name.toUtf8() : content));
        return recordOf(p);
    }
    bool exists(const QString &name) const { return QFileInfo::exists(path(name)); }

private:
    QTemporaryDir m_dir;
};

} // namespace RemovalFixture
