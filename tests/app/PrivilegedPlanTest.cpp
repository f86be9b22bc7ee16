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
        for (const QString &file :
            { kOwn + "/a.db", kOwn + "/c.db", kOwn + "/sub/x", QStringLiteral("/home/u/Pictures/p.jpg"),
                QStringLiteral("/etc/passwd"), QStringLiteral("/home/v/.cache/Quennary/b.db"),
                QStringLiteral("/home/v/.local/share/Quennary/d.db") })
            TestFiles::write(at(file), "kept");
        QFile::link(at("/etc"), at(kOwn + "/out"));
        QFile::link(at("/home/u/Pictures"), at(kOwn + "/pictures"));
        QFile::link(at("/home/v/.local"), at("/home/u/.local"));
    }
    QString at(const QString &path) const { return dir.path() + path; }
    // `arguments` as the helper reads them: "remove" PATH, "rename" PATH NEW_PATH.
    std::optional<PrivilegedPlan> plan(const QStringList &arguments) const
    {
        QString refused;
        return PrivilegedPlan::check(*PrivilegedBatch::fromArguments(arguments),
            AppFolders::defaultOwnFolders("/home/u"), root.get(), &refused);
    }
};

} // namespace

// Each batch also holds a removal that alone would be done.
TEST(PrivilegedPlan, OneRefusedPathAndNothingOfTheBatchIsDone)
{
    const HelperTree tree;
    const QStringList rows[] = { { "remove", "/etc/passwd" }, { "remove", "/home/v/.cache/Quennary/b.db" },
        { "remove", "/home/u" }, { "remove", kOwn + "/out/passwd" },
        { "remove", "/home/u/.local/share/Quennary/d.db" }, { "rename", kOwn + "/sub/x", kOwn + "/c.db" },
        { "rename", kOwn + "/c.db", kOwn + "/out" }, { "rename", kOwn + "/c.db", kOwn + "/out/c.db" },
        { "rename", kOwn + "/c.db", "/home/u/Pictures/c.db" } };
    for (const QStringList &row : rows)
        EXPECT_FALSE(tree.plan(QStringList { "remove", kOwn + "/a.db" } + row)) << qPrintable(row.join(' '));
}

// What is accepted goes by descriptor: a link in a removed folder goes as a link, a folder swapped
// for a link after the check is still the folder that was checked, and an entry that takes the new
// name after the check is not replaced.
TEST(PrivilegedPlan, ActsOnTheEntriesItCheckedAndNothingBeyond)
{
    const HelperTree tree;
    const auto plan = tree.plan({ "remove", kOwn + "/pictures", "remove", kOwn + "/sub/x", "remove",
        kOwn + "/none/y", "rename", kOwn + "/a.db", kOwn + "/b.db" });
    const auto late = tree.plan({ "rename", kOwn + "/c.db", kOwn + "/new.db" });
    ASSERT_TRUE(plan && late);
    ASSERT_TRUE(QDir().rename(tree.at(kOwn + "/sub"), tree.at(kOwn + "/sub.old")));
    ASSERT_TRUE(QFile::link(tree.at("/etc"), tree.at(kOwn + "/sub")));
    TestFiles::write(tree.at("/etc/x"), "kept");
    TestFiles::write(tree.at(kOwn + "/new.db"), "theirs");
    EXPECT_TRUE(plan->perform());
    EXPECT_FALSE(late->perform());
    for (const QString &gone : { kOwn + "/sub.old/x", kOwn + "/a.db", kOwn + "/pictures" })
        EXPECT_FALSE(QFileInfo::exists(tree.at(gone))) << qPrintable(gone);
    for (const QString &kept : { kOwn + "/b.db", kOwn + "/c.db", QStringLiteral("/etc/x"),
             QStringLiteral("/etc/passwd"), QStringLiteral("/home/u/Pictures/p.jpg") })
        EXPECT_TRUE(QFileInfo::exists(tree.at(kept))) << qPrintable(kept);
}
