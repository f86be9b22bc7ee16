// Path bars: components and cumulative paths for a path, removal and layout.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "controls/ITPathbar.h"
#include "controls/QNYPathBar.h"

namespace
{

QStringList titles(const ITPathbar &bar)
{
    QStringList out;
    for (const ITPathbarComponentCell &cell : bar.mutablePathComponentCells())
        out << cell.title();
    return out;
}

QStringList paths(const ITPathbar &bar)
{
    QStringList out;
    for (const ITPathbarComponentCell &cell : bar.mutablePathComponentCells())
        out << cell.path();
    return out;
}

} // namespace

struct PathCase {
    const char *path;
    QStringList titles;
    QStringList paths;
};

class ITPathbarPaths : public ::testing::TestWithParam<PathCase>
{
};

TEST_P(ITPathbarPaths, OneComponentPerLevelWithItsCumulativePath)
{
    const PathCase &c = GetParam();
    ITPathbar bar;
    bar.setPathToPathController(QString::fromLatin1(c.path));
    EXPECT_EQ(titles(bar), c.titles);
    EXPECT_EQ(paths(bar), c.paths);
    EXPECT_EQ(bar.pathStr(), c.paths.isEmpty() ? QString() : c.paths.back());
}

INSTANTIATE_TEST_SUITE_P(Paths, ITPathbarPaths,
    ::testing::Values(
        PathCase { "/Users/someone/Pictures/a.jpg", { "Users", "someone", "Pictures", "a.jpg" },
            { "/Users", "/Users/someone", "/Users/someone/Pictures", "/Users/someone/Pictures/a.jpg" } },
        PathCase { "a/b", { "a", "b" }, { "/a", "/a/b" } },
        PathCase { "//x///y/", { "x", "y" }, { "/x", "/x/y" } }, PathCase { "", {}, {} },
        PathCase { "/", {}, {} }));

TEST(ITPathbar, ComponentsCarryTheIconOfTheirPathAndWhiteText)
{
    QTemporaryDir dir;
    ITPathbar bar;
    bar.setPathToPathController(dir.path());
    ASSERT_FALSE(bar.mutablePathComponentCells().isEmpty());
    for (const ITPathbarComponentCell &cell : bar.mutablePathComponentCells()) {
        EXPECT_FALSE(cell.image().isNull()) << cell.path().toStdString();
        EXPECT_EQ(cell.textColor(), QColor(Qt::white));
    }
}

TEST(ITPathbar, SecondPathReplacesTheFirstAndRemovePathEmpties)
{
    ITPathbar bar;
    bar.removePath();
    EXPECT_TRUE(titles(bar).isEmpty());
    bar.setPathToPathController("/one/two");
    bar.setPathToPathController("/three");
    EXPECT_EQ(titles(bar), QStringList { "three" });
    EXPECT_EQ(bar.pathStr(), QStringLiteral("/three"));
    bar.removePath();
    EXPECT_TRUE(titles(bar).isEmpty());
    EXPECT_TRUE(bar.pathStr().isEmpty());
    EXPECT_FALSE(bar.sizeHint().isValid());
}

TEST(ITPathbar, InsertAndRemoveByIndexIgnoreEmptyTitlesAndBadIndexes)
{
    ITPathbar bar;
    bar.addItemWithTitle("a");
    bar.addItemWithTitle(QString());
    bar.insertItemWithTitle("b", 0);
    // The cumulative path grows at its end whatever the index.
    EXPECT_EQ(titles(bar), (QStringList { "b", "a" }));
    EXPECT_EQ(paths(bar), (QStringList { "/a/b", "/a" }));
    bar.insertItemWithTitle("c", 99);
    bar.insertItemWithTitle("d", -5);
    EXPECT_EQ(titles(bar), (QStringList { "d", "b", "a", "c" }));
    bar.removeItemAtIndex(7);
    bar.removeItemAtIndex(-1);
    bar.removeItemAtIndex(1);
    bar.removeLastItem();
    EXPECT_EQ(titles(bar), (QStringList { "d", "a" }));
}

TEST(ITPathbar, NarrowBarShrinksEarlierComponentsToIcons)
{
    ITPathbar bar;
    bar.setPathToPathController("/alpha/beta/gamma/delta.jpg");
    bar.resize(1000, 24);
    const QList<QRectF> wide = bar.componentRects();
    ASSERT_EQ(wide.size(), 4);
    for (const QRectF &r : wide)
        EXPECT_GT(r.width(), ITPathbarComponentCell::iconOnlyWidth());
    bar.resize(160, 24);
    const QList<QRectF> narrow = bar.componentRects();
    EXPECT_DOUBLE_EQ(narrow[0].width(), ITPathbarComponentCell::iconOnlyWidth());
    EXPECT_LE(narrow.back().right(), 160.5);
    EXPECT_GT(narrow.back().width(), narrow.front().width());
    bar.grab();
}

TEST(QNYPathBar, IsAPathBarWithItsOwnEmptyString)
{
    QNYPathBar bar;
    EXPECT_TRUE(bar.pathbarStr.isEmpty());
    bar.setPathToPathController("/a/b");
    EXPECT_EQ(titles(bar), (QStringList { "a", "b" }));
    bar.resize(200, 24);
    EXPECT_FALSE(bar.grab().isNull());
}
