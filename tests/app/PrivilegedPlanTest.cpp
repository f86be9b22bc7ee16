// What the privileged helper accepts and does, pointed at a temporary tree that stands for "/": only
// paths inside the program's own folders of the user who asked, never through a link, never a
// rename over an entry; one refused path and nothing of the batch is done.
#include <gtest/gtest.h>

#include <fcntl.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/PrivilegedPlan.h"
#include "platform/AppFolders.h"
#include "support/TestFiles.h"

namespace
{

const QString kOwn = QStringLiteral("/home/u/.cache/Quennary");
const char *const kFiles[] = { "/home/u/.cache/Quennary/a.db", "/home/u/.cache/Quennary/c.db",
    "/home/u/.cache/Quennary/sub/x", "/home/u/Pictures/p.jpg", "/home/v/.cache/Quennary/b.db",
    "/home/v/.local/share/Quennary/d.db", "/etc/passwd" };

struct HelperTree {
    QTemporaryDir dir;
    Descriptor root { ::open(QFile::encodeName(dir.path()).constData(), O_RDONLY | O_DIRECTORY) };
    HelperTree()
    {
        for (const char *file : kFiles)
            TestFiles::write(at(file), "kept");
        QFile::link(at("/etc"), at(kOwn + "/out"));
        QFile::link(at("/home/u/Pictures"), at(kOwn + "/pictures"));
        QFile::link(at("/home/v/.local"), at("/home/u/.local"));
    }
    QString at(const QString &path) const { return dir.path() + path; }
    std::optional<PrivilegedPlan> plan(const QStringList &removals, const QStringList &rename = {}) const
    {
        PrivilegedBatch batch;
        for (const QString &path : removals)
            batch.addRemoval(path);
        if (rename.size() == 2)
            batch.addRename(rename[0], rename[1]);
        QString refused;
        return PrivilegedPlan::check(batch, AppFolders::defaultOwnFolders("/home/u"), root.get(), &refused);
    }
};

} // namespace

// Each batch also holds a removal that alone would be done.
TEST(PrivilegedPlan, OneRefusedPathAndNothingOfTheBatchIsDone)
{
    const std::pair<QStringList, QStringList> rows[] = { { { "/etc/passwd" }, {} },
        { { "/home/v/.cache/Quennary/b.db" }, {} }, { { "/home/u" }, {} }, { { kOwn + "/out/passwd" }, {} },
        { { "/home/u/.local/share/Quennary/d.db" }, {} }, { {}, { kOwn + "/sub/x", kOwn + "/c.db" } },
        { {}, { kOwn + "/c.db", kOwn + "/out" } }, { {}, { kOwn + "/c.db", kOwn + "/out/c.db" } },
        { {}, { kOwn + "/c.db", "/home/u/Pictures/c.db" } } };
    for (const auto &[removals, rename] : rows) {
        const HelperTree tree;
        EXPECT_FALSE(tree.plan(QStringList { kOwn + "/a.db" } + removals, rename).has_value())
            << qPrintable((removals + rename).join(' '));
        for (const char *file : kFiles)
            EXPECT_TRUE(QFileInfo::exists(tree.at(file))) << file;
    }
}

// What is accepted goes by descriptor: a link in a removed folder goes as a link, a folder swapped
// for a link after the check is still the folder that was checked, and an entry that takes the new
// name after the check is not replaced.
TEST(PrivilegedPlan, ActsOnTheEntriesItCheckedAndNothingBeyond)
{
    const HelperTree tree;
    const auto plan = tree.plan(
        { kOwn + "/pictures", kOwn + "/sub/x", kOwn + "/none/y" }, { kOwn + "/a.db", kOwn + "/b.db" });
    const auto late = tree.plan({}, { kOwn + "/c.db", kOwn + "/new.db" });
    ASSERT_TRUE(plan && late);
    ASSERT_TRUE(QDir().rename(tree.at(kOwn + "/sub"), tree.at(kOwn + "/sub.old")));
    ASSERT_TRUE(QFile::link(tree.at("/etc"), tree.at(kOwn + "/sub")));
    TestFiles::write(tree.at("/etc/x"), "kept");
    TestFiles::write(tree.at(kOwn + "/new.db"), "theirs");
    EXPECT_TRUE(plan->perform());
    EXPECT_FALSE(late->perform());
    EXPECT_FALSE(
        QFileInfo::exists(tree.at(kOwn + "/sub.old/x")) || QFileInfo::exists(tree.at(kOwn + "/a.db")));
    EXPECT_TRUE(QFileInfo::exists(tree.at(kOwn + "/b.db")) && QFileInfo::exists(tree.at(kOwn + "/c.db")));
    EXPECT_FALSE(QFileInfo(tree.at(kOwn + "/pictures")).isSymLink());
    for (const char *kept : { "/etc/x", "/etc/passwd", "/home/u/Pictures/p.jpg" })
        EXPECT_TRUE(QFileInfo::exists(tree.at(kept))) << kept;
}
