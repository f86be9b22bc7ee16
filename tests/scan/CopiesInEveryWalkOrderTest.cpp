// Whole scans of a photo, its near copies and an old byte copy of it, each kind in a folder of its
// own: the byte copy is the photo, so one group holds them all whichever folder is walked first,
// on a cold cache and on one that already held all but the byte copy or all but the near copies.
#include <gtest/gtest.h>

#include <numeric>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ScanTestSupport.h"

using namespace ScanTestSupport;

namespace
{

const QStringList kFolders { QStringLiteral("photo"), QStringLiteral("near"), QStringLiteral("copy") };

// Copies folder `kind` from `source` into `root`; the byte copy gets its file date, a day of 2020
// or `daysBack` days ago.
bool addFolder(const QString &source, const QString &root, const QString &kind, int daysBack)
{
    if (!QDir().mkpath(root + u'/' + kind))
        return false;
    for (const QString &name : QDir(source + u'/' + kind).entryList(QDir::Files)) {
        if (!QFile::copy(source + u'/' + kind + u'/' + name, root + u'/' + kind + u'/' + name))
            return false;
    }
    QFile copy(root + QStringLiteral("/copy/p_copy.jpg"));
    const QDateTime date = daysBack > 0 ? QDateTime::currentDateTime().addDays(-daysBack)
                                        : QDateTime(QDate(2020, 1, 1), QTime(12, 0));
    return kind != QLatin1String("copy")
        || (copy.open(QIODevice::ReadWrite) && copy.setFileTime(date, QFileDevice::FileModificationTime));
}

} // namespace

// The byte copy's age (0: 2020), whether a resized copy is there, and the folder that comes in
// after a first scan (none: a cold scan).
class CopiesInEveryWalkOrderTest : public ::testing::TestWithParam<std::tuple<int, bool, const char *>>
{
};

TEST_P(CopiesInEveryWalkOrderTest, OneGroupHoldsThePhotoItsCopiesAndItsOldByteCopy)
{
    const auto [daysBack, resized, later] = GetParam();
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source"));
    const QImage photo = makePhoto(61, 640, 480);
    ASSERT_TRUE(writeImage(photo, source + QStringLiteral("/photo/p.jpg")));
    ASSERT_TRUE(writeImage(photo, source + QStringLiteral("/near/p_q60.jpg"), 60));
    const QImage small = photo.scaledToWidth(320, Qt::SmoothTransformation);
    ASSERT_TRUE(!resized || writeImage(small, source + QStringLiteral("/near/p_small.jpg")));
    ASSERT_TRUE(QDir().mkpath(source + QStringLiteral("/copy")));
    ASSERT_TRUE(
        QFile::copy(source + QStringLiteral("/photo/p.jpg"), source + QStringLiteral("/copy/p_copy.jpg")));
    QStringList expected { "copy/p_copy.jpg", "near/p_q60.jpg", "photo/p.jpg" };
    if (resized)
        expected.insert(2, QStringLiteral("near/p_small.jpg"));

    std::vector<int> order(size_t(kFolders.size()));
    std::iota(order.begin(), order.end(), 0);
    do {
        // A tree of its own for each order: its paths are new to the cache.
        const QString root = dir.filePath(QString::number(order[0] * 9 + order[1] * 3 + order[2]));
        std::vector<FilePathNode> before, all;
        for (const int i : order) {
            if (kFolders[i] != QLatin1String(later)) {
                ASSERT_TRUE(addFolder(source, root, kFolders[i], daysBack));
                before.push_back(folderNode(root + u'/' + kFolders[i]));
            }
            all.push_back(folderNode(root + u'/' + kFolders[i]));
        }
        if (*later) {
            ASSERT_TRUE(runScan(options(false), before).finished);
            ASSERT_TRUE(addFolder(source, root, QLatin1String(later), daysBack));
        }
        const ScanResult result = runScan(options(false), all);
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(relativeGroups(result.groups, root), QList<QStringList> { expected })
            << "walk order " << testing::PrintToString(order);
    } while (std::next_permutation(order.begin(), order.end()));
}

INSTANTIATE_TEST_SUITE_P(AgesAndCaches, CopiesInEveryWalkOrderTest,
    ::testing::Combine(::testing::Values(0, 1200), ::testing::Bool(), ::testing::Values("", "copy", "near")));
