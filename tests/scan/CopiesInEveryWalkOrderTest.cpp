// Whole scans of a photo, its near copies and an old byte copy of it, each kind in a folder of its
// own: the byte copy is the photo, so one group holds them all whichever folder is walked first,
// on a cold cache and on one that already held some of them.
#include <gtest/gtest.h>

#include <numeric>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ScanTestSupport.h"

using namespace ScanTestSupport;

namespace
{

enum class Cache {
    Cold,
    // The tree was scanned before the byte copy came in, or before the near copy did.
    CopyAdded,
    NearCopyAdded,
};

struct WalkCase {
    const char *name;
    // The byte copy's file date: a fixed day of 2020, or so many days before the photo's.
    qint64 daysBack;
    bool resized;
    Cache cache;
};

const QStringList kFolders { QStringLiteral("photo"), QStringLiteral("near"), QStringLiteral("copy") };

// Writes folder `kind` of the tree under `root`, from the pictures written once in `source`.
bool addFolder(const QString &source, const QString &root, const QString &kind, qint64 daysBack)
{
    if (!QDir().mkpath(root + u'/' + kind))
        return false;
    for (const QString &name : QDir(source + u'/' + kind).entryList(QDir::Files)) {
        const QString target = root + u'/' + kind + u'/' + name;
        if (!QFile::copy(source + u'/' + kind + u'/' + name, target))
            return false;
    }
    if (kind != QLatin1String("copy"))
        return true;
    QFile copy(root + QStringLiteral("/copy/p_copy.jpg"));
    const QDateTime date = daysBack > 0 ? QDateTime::currentDateTime().addDays(-daysBack)
                                        : QDateTime(QDate(2020, 1, 1), QTime(12, 0));
    return copy.open(QIODevice::ReadWrite) && copy.setFileTime(date, QFileDevice::FileModificationTime);
}

} // namespace

class CopiesInEveryWalkOrderTest : public ::testing::TestWithParam<WalkCase>
{
};

TEST_P(CopiesInEveryWalkOrderTest, OneGroupHoldsThePhotoItsCopiesAndItsOldByteCopy)
{
    const WalkCase &c = GetParam();
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source"));
    const QImage photo = makePhoto(61, 640, 480);
    ASSERT_TRUE(writeImage(photo, source + QStringLiteral("/photo/p.jpg")));
    ASSERT_TRUE(writeImage(photo, source + QStringLiteral("/near/p_q60.jpg"), 60));
    if (c.resized) {
        ASSERT_TRUE(writeImage(photo.scaledToWidth(320, Qt::SmoothTransformation),
            source + QStringLiteral("/near/p_small.jpg")));
    }
    ASSERT_TRUE(QDir().mkpath(source + QStringLiteral("/copy")));
    ASSERT_TRUE(
        QFile::copy(source + QStringLiteral("/photo/p.jpg"), source + QStringLiteral("/copy/p_copy.jpg")));

    QStringList expected { "copy/p_copy.jpg", "near/p_q60.jpg", "photo/p.jpg" };
    if (c.resized)
        expected.insert(2, QStringLiteral("near/p_small.jpg"));
    const QString later = c.cache == Cache::CopyAdded ? QStringLiteral("copy")
        : c.cache == Cache::NearCopyAdded             ? QStringLiteral("near")
                                                      : QString();
    std::vector<int> order(size_t(kFolders.size()));
    std::iota(order.begin(), order.end(), 0);
    int tree = 0;
    do {
        // A tree of its own for each order: its paths are new to the cache.
        const QString root = dir.filePath(QString::number(tree++));
        std::vector<FilePathNode> before, all;
        for (const int i : order) {
            if (kFolders[i] != later) {
                ASSERT_TRUE(addFolder(source, root, kFolders[i], c.daysBack));
                before.push_back(folderNode(root + u'/' + kFolders[i]));
            }
            all.push_back(folderNode(root + u'/' + kFolders[i]));
        }
        if (!later.isEmpty()) {
            ASSERT_TRUE(runScan(options(false), before).finished);
            ASSERT_TRUE(addFolder(source, root, later, c.daysBack));
        }
        const ScanResult result = runScan(options(false), all);
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(relativeGroups(result.groups, root), QList<QStringList> { expected })
            << "walk order " << testing::PrintToString(order);
    } while (std::next_permutation(order.begin(), order.end()));
}

INSTANTIATE_TEST_SUITE_P(Cases, CopiesInEveryWalkOrderTest,
    ::testing::Values(WalkCase { "Cold2020", 0, false, Cache::Cold },
        WalkCase { "Cold1200DaysBack", 1200, false, Cache::Cold },
        WalkCase { "ColdResized2020", 0, true, Cache::Cold },
        WalkCase { "ColdResized1200DaysBack", 1200, true, Cache::Cold },
        WalkCase { "CopyAdded2020", 0, false, Cache::CopyAdded },
        WalkCase { "CopyAdded1200DaysBack", 1200, false, Cache::CopyAdded },
        WalkCase { "CopyAddedResized2020", 0, true, Cache::CopyAdded },
        WalkCase { "CopyAddedResized1200DaysBack", 1200, true, Cache::CopyAdded },
        WalkCase { "NearCopyAdded2020", 0, false, Cache::NearCopyAdded },
        WalkCase { "NearCopyAdded1200DaysBack", 1200, false, Cache::NearCopyAdded },
        WalkCase { "NearCopyAddedResized2020", 0, true, Cache::NearCopyAdded },
        WalkCase { "NearCopyAddedResized1200DaysBack", 1200, true, Cache::NearCopyAdded }),
    [](const auto &info) { return std::string(info.param.name); });
