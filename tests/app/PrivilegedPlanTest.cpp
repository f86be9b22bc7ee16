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

struct HelperTree {
    QTemporaryDir dir;
    Descriptor root { ::open(QFile::encodeName(dir.path()).constData(), O_RDONLY | O_DIRECTORY) };
    HelperTree()
    {
        for (const char *file : { "/home/u/.cache/Quennary/a.db", "/home/u/.cache/Quennary/c.db",
                 "/home/u/.cache/Quennary/sub/x", "/home/u/Pictures/p.jpg", "/home/v/.cache/Quennary/b.db",
                 "/home/v/.local/share/Quennary/d.db", "/etc/passwd" })
            TestFiles::write(at(file), "kept");
        QFile::link(at("/etc"), at(kOwn + "/out"));
        QFile::link(at("/home/u/Pictures"), at(kOwn + "/pictures"));
        QFile::link(at("/home/v/.local"), at("/home/u/.local"));
    }
    QString at(const QString &path) const { return dir.path() + path; }
    std::optional<PrivilegedPlan> plan(const PrivilegedBatch &batch, QString *refused) const
    {
        return PrivilegedPlan::check(batch, AppFolders::defaultOwnFolders("/home/u"), root.get(), refused);
    }
};

PrivilegedBatch batchOf(const QStringList &removals, const QStringList &rename = {})
{
    PrivilegedBatch batch;
    for (const QString &path : removals)
        batch.addRemoval(path);
    if (rename.size() == 2)
        batch.addRename(rename[0], rename[1]);
    return batch;
}

struct RefusedCase {
    const char *name;
    PrivilegedBatch batch;
    QString refused;
};

class PrivilegedPlanRefusal : public ::testing::TestWithParam<RefusedCase>
{
};

// Each batch also holds a removal that alone would be done.
TEST_P(PrivilegedPlanRefusal, NothingOfTheBatchIsDone)
{
    const HelperTree tree;
    PrivilegedBatch batch = batchOf({ kOwn + "/a.db" });
    for (const PrivilegedBatch::Operation &operation : GetParam().batch.operations())
        operation.newPath ? batch.addRename(operation.path, *operation.newPath)
                          : batch.addRemoval(operation.path);
    QString refused;
    EXPECT_FALSE(tree.plan(batch, &refused).has_value());
    EXPECT_EQ(refused, GetParam().refused);
    for (const char *file :
        { "/home/u/.cache/Quennary/a.db", "/home/u/.cache/Quennary/c.db", "/home/u/Pictures/p.jpg",
            "/home/v/.cache/Quennary/b.db", "/home/v/.local/share/Quennary/d.db", "/etc/passwd" })
        EXPECT_TRUE(QFileInfo::exists(tree.at(file))) << file;
}

INSTANTIATE_TEST_SUITE_P(Helper, PrivilegedPlanRefusal,
    ::testing::Values(RefusedCase { "SystemFile", batchOf({ "/etc/passwd" }), "/etc/passwd" },
        RefusedCase {
            "AnotherHome", batchOf({ "/home/v/.cache/Quennary/b.db" }), "/home/v/.cache/Quennary/b.db" },
        RefusedCase { "TheHomeItself", batchOf({ "/home/u" }), "/home/u" },
        RefusedCase {
            "OutOfTheOwnFolderByDots", batchOf({ kOwn + "/../../Pictures" }), kOwn + "/../../Pictures" },
        RefusedCase { "ThroughALinkInTheOwnFolder", batchOf({ kOwn + "/out/passwd" }), kOwn + "/out/passwd" },
        RefusedCase { "OwnFolderReachedThroughALink", batchOf({ "/home/u/.local/share/Quennary/d.db" }),
            "/home/u/.local/share/Quennary/d.db" },
        RefusedCase {
            "RenameOntoAnExistingFile", batchOf({}, { kOwn + "/sub/x", kOwn + "/c.db" }), kOwn + "/c.db" },
        RefusedCase { "RenameOntoALink", batchOf({}, { kOwn + "/c.db", kOwn + "/out" }), kOwn + "/out" },
        RefusedCase {
            "RenameThroughALink", batchOf({}, { kOwn + "/c.db", kOwn + "/out/c.db" }), kOwn + "/out/c.db" },
        RefusedCase { "RenameOutOfTheOwnFolder", batchOf({}, { kOwn + "/c.db", "/home/u/Pictures/c.db" }),
            "/home/u/Pictures/c.db" }),
    [](const auto &info) { return std::string(info.param.name); });

// What is accepted goes by descriptor: a link in a removed folder goes as a link, and a folder swapped
// for a link after the check is still the folder that was checked.
TEST(PrivilegedPlan, ActsOnTheEntriesItCheckedAndNothingBeyond)
{
    const HelperTree tree;
    QString refused;
    const std::optional<PrivilegedPlan> plan
        = tree.plan(batchOf({ kOwn + "/pictures", kOwn + "/sub/x", "/home/u/.cache/Quennary/none/y" },
                        { kOwn + "/a.db", kOwn + "/b.db" }),
            &refused);
    ASSERT_TRUE(plan.has_value()) << qPrintable(refused);
    ASSERT_TRUE(QDir().rename(tree.at(kOwn + "/sub"), tree.at(kOwn + "/sub.old")));
    ASSERT_TRUE(QFile::link(tree.at("/etc"), tree.at(kOwn + "/sub")));
    TestFiles::write(tree.at("/etc/x"), "kept");
    EXPECT_TRUE(plan->perform());
    EXPECT_FALSE(QFileInfo::exists(tree.at(kOwn + "/sub.old/x")));
    EXPECT_TRUE(QFileInfo::exists(tree.at("/etc/x")));
    EXPECT_FALSE(QFileInfo(tree.at(kOwn + "/pictures")).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(tree.at("/home/u/Pictures/p.jpg")));
    EXPECT_TRUE(QFileInfo::exists(tree.at(kOwn + "/b.db")) && !QFileInfo::exists(tree.at(kOwn + "/a.db")));
    // An entry that takes the new name after the check is not replaced.
    const std::optional<PrivilegedPlan> late
        = tree.plan(batchOf({}, { kOwn + "/c.db", kOwn + "/new.db" }), &refused);
    ASSERT_TRUE(late.has_value());
    TestFiles::write(tree.at(kOwn + "/new.db"), "theirs");
    EXPECT_FALSE(late->perform());
    QFile kept(tree.at(kOwn + "/new.db"));
    EXPECT_TRUE(kept.open(QIODevice::ReadOnly) && kept.readAll() == "theirs");
    // The whole own folder, a link inside it gone as a link.
    const std::optional<PrivilegedPlan> all = tree.plan(batchOf({ kOwn }), &refused);
    ASSERT_TRUE(all.has_value());
    EXPECT_TRUE(all->perform());
    EXPECT_FALSE(QFileInfo::exists(tree.at(kOwn)));
    EXPECT_TRUE(QFileInfo::exists(tree.at("/etc/passwd")) && QFileInfo::exists(tree.at("/etc/x")));
}

} // namespace
