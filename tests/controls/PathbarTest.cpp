// Path bars: components and cumulative paths for a path, removal and layout.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "controls/ITPathbar.h"
#include "controls/QNYPathBar.h"
#include "platform/ui/Workspace.h"

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

// However narrow the bar, every component it shows keeps the start of its name beside its icon:
// earlier levels give way first, then the file's own name, then the top levels fold behind "…".
// The bar's width: room for every full name, for the shortest names only in part, or for less than
// the shortest names.
enum class Room { Full, BetweenShortestAndFull, BelowShortest };

class ITPathbarNarrow : public ::testing::TestWithParam<Room>
{
};

TEST_P(ITPathbarNarrow, EveryComponentShownKeepsItsName)
{
    ITPathbar bar;
    bar.setPathToPathController("/alpha/beta/gamma/delta/epsilon/zeta/a-rather-long-file-name.jpg");
    const QList<ITPathbarComponentCell> cells = bar.mutablePathComponentCells();
    qreal full = ITPathbarCell::kSeparatorWidth * (cells.size() - 1), shortest = full;
    for (const ITPathbarComponentCell &cell : cells) {
        full += cell.fullWidth(bar.font());
        shortest += cell.shortestWidth(bar.font());
    }
    const qreal width = GetParam() == Room::Full     ? full + 1
        : GetParam() == Room::BetweenShortestAndFull ? (full + shortest) / 2
                                                     : shortest / 2;
    bar.resize(int(width), 24);
    const QList<QRectF> rects = bar.componentRects();
    ASSERT_EQ(rects.size(), cells.size());
    int folded = 0;
    for (qsizetype i = 0; i < rects.size(); ++i) {
        if (rects[i].width() <= 0) {
            EXPECT_EQ(i, folded++) << "only the top levels fold";
            continue;
        }
        EXPECT_GE(rects[i].width() + 0.01, cells[i].shortestWidth(bar.font()))
            << cells[i].title().toStdString();
        EXPECT_GT(rects[i].width(), ITPathbarComponentCell::iconOnlyWidth())
            << cells[i].title().toStdString();
        if (GetParam() == Room::Full) {
            EXPECT_DOUBLE_EQ(rects[i].width(), cells[i].fullWidth(bar.font()));
        }
    }
    EXPECT_EQ(folded > 0, GetParam() == Room::BelowShortest);
    EXPECT_LT(folded, rects.size()) << "the file itself is always shown";
    EXPECT_LE(rects.back().right(), bar.width() + 0.5);
    EXPECT_FALSE(bar.grab().isNull());
}

INSTANTIATE_TEST_SUITE_P(Widths, ITPathbarNarrow,
    ::testing::Values(Room::Full, Room::BetweenShortestAndFull, Room::BelowShortest),
    [](const ::testing::TestParamInfo<Room> &info) {
        return std::string(info.param == Room::Full          ? "Full"
                : info.param == Room::BetweenShortestAndFull ? "BetweenShortestAndFull"
                                                             : "BelowShortest");
    });

// Folders show the folder icon and the file the icon of its type, both told without the file system:
// a path that names nothing on this machine gets them all the same.
TEST(ITPathbar, FoldersGetTheFolderIconAndTheFileItsTypesIcon)
{
    ITPathbar bar;
    bar.setPathToPathController("/nowhere-at-all/holiday/IMG_0001.JPG");
    const QList<ITPathbarComponentCell> cells = bar.mutablePathComponentCells();
    ASSERT_EQ(cells.size(), 3);
    const auto picture = [](const QIcon &icon) { return icon.pixmap(16).toImage(); };
    for (const ITPathbarComponentCell &folder : cells.mid(0, 2))
        EXPECT_EQ(picture(folder.image()), picture(Workspace::folderIcon())) << folder.title().toStdString();
    EXPECT_EQ(picture(cells.last().image()), picture(Workspace::iconForFileName("IMG_0001.JPG")));
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
