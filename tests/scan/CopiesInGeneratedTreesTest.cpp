// Whole scans of generated trees: a few photos, byte copies of them written on random days, near
// copies dated a few seconds after a random copy, and a pan and a burst whose frames match only their
// neighbours, with byte copies of inner frames written years apart, over four folders, a second
// copy of much of the library in a fifth, each file written on one of a few days, and two byte
// copies in one group whose other's date alone lets that group join another. In every walk
// order, cold and warm after a folder came in, the scan shows every file that first fit shows, every
// two members of a group match (a file dated by all its byte copies), and every byte copy of a shown
// file is shown: beside a copy of it, unless its group and every group of its copies hold two files
// that do not match.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <numeric>
#include <random>
#include <set>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ScanTestSupport.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "scan/PairScore.h"
#include "support/NaturalPhoto.h"

using namespace ScanTestSupport;

namespace
{

const QStringList kFolders { "a", "b", "c", "d" };
// The second copy of the library.
const QString kLibraryCopy = QStringLiteral("e");

struct TreeFile {
    QString folder;
    QString name;
    QDateTime date;
    // The picture whose bytes the file has: files of one picture are byte copies.
    int picture = -1;
};

QString pathIn(const QString &root, const TreeFile &file)
{
    return root + u'/' + file.folder + u'/' + file.name;
}

// Writes the tree of `seed` under `source` and lists its files.
std::vector<TreeFile> makeTree(const QString &source, std::uint32_t seed)
{
    std::mt19937 random(seed);
    const auto pick
        = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const QDateTime now = QDateTime::currentDateTime().addDays(-1);
    std::vector<TreeFile> files;
    for (const QString &folder : kFolders)
        EXPECT_TRUE(QDir().mkpath(source + u'/' + folder));
    for (int photo = 0; photo < 3; ++photo) {
        const QImage image = makePhoto(int(seed) * 10 + photo, 320, 240);
        const QString name = QStringLiteral("p%1").arg(photo);
        const qsizetype first = qsizetype(files.size());
        for (int copy = 0, copies = pick(1, 3); copy < copies; ++copy) {
            files.push_back({ kFolders[pick(0, 3)], QStringLiteral("%1_copy%2.jpg").arg(name).arg(copy),
                now.addDays(-pick(0, 3) * pick(2, 900)), photo });
            EXPECT_TRUE(copy == 0
                    ? writeImage(image, pathIn(source, files.back()))
                    : QFile::copy(pathIn(source, files[size_t(first)]), pathIn(source, files.back())));
        }
        const qsizetype copies = qsizetype(files.size()) - first;
        for (int near = 0, nears = pick(1, 3); near < nears; ++near) {
            const TreeFile &beside = files[size_t(first + pick(0, int(copies) - 1))];
            files.push_back({ kFolders[pick(0, 3)], QStringLiteral("%1_near%2.jpg").arg(name).arg(near),
                beside.date.addSecs(pick(1, 20)), 10 * (photo + 1) + near });
            EXPECT_TRUE(writeImage(image, pathIn(source, files.back()), 55 + 10 * near));
        }
    }
    // A pan: each folder holds two neighbouring frames, the first a byte copy of the frame the
    // folder before ends with, written two years after it.
    const QImage pan = NaturalPhoto::make(int(seed), 400, 240);
    for (int k = 1; k < 5; ++k) {
        for (const int frame : { k - 1, k }) {
            files.push_back({ kFolders[k - 1], QStringLiteral("pan%1.jpg").arg(frame),
                now.addYears(2 * (k - 4)).addSecs(frame), 100 + frame });
            const QString path = pathIn(source, files.back());
            EXPECT_TRUE(frame == k || frame == 0
                    ? writeImage(pan.copy(4 * frame, 0, 320, 240), path)
                    : QFile::copy(pathIn(source, files[files.size() - 2]), path));
        }
    }
    // A burst of four frames a second apart, and byte copies of its middle two written years later.
    const QImage burst = NaturalPhoto::make(int(seed) + 1000, 400, 240);
    const QString folder = kFolders[pick(0, 3)], copiesFolder = kFolders[pick(0, 3)];
    const QDateTime copied = now.addYears(-pick(1, 5));
    for (int frame = 0; frame < 4; ++frame) {
        files.push_back(
            { folder, QStringLiteral("burst%1.jpg").arg(frame), now.addSecs(frame), 200 + frame });
        const QString path = pathIn(source, files.back());
        EXPECT_TRUE(writeImage(burst.copy(4 * frame, 0, 320, 240), path));
        if (frame == 1 || frame == 2) {
            files.push_back({ copiesFolder, QStringLiteral("copy_") + files.back().name,
                copied.addSecs(frame), 200 + frame });
            EXPECT_TRUE(QFile::copy(path, pathIn(source, files.back())));
        }
    }
    // The second copy: about half the files, members of one group among them, each written on one
    // of three days.
    const QDateTime days[]
        = { now.addDays(-pick(0, 700)), now.addDays(-pick(0, 700)), now.addDays(-pick(0, 700)) };
    EXPECT_TRUE(QDir().mkpath(source + u'/' + kLibraryCopy));
    for (size_t i = 0, count = files.size(); i < count; ++i) {
        if (pick(0, 1) == 0)
            continue;
        const TreeFile original = files[i];
        files.push_back({ kLibraryCopy, original.folder + u'_' + original.name,
            days[pick(0, 2)].addSecs(pick(0, 99)), original.picture });
        EXPECT_TRUE(QFile::copy(pathIn(source, original), pathIn(source, files.back())));
    }
    // Kept out of the second copy: byte copies x of a photo written 19 hours apart beside a near copy
    // y in one folder, and in another a byte copy of y written 38 hours before it and a near copy z
    // between them. First fit keeps the folders apart (z is 31 hours before the later x); the
    // groups join only where the later x is dated by the earlier one too.
    const QImage shot = makePhoto(int(seed) * 10 + 5, 320, 240);
    const int near = pick(0, 3), far = (near + pick(1, 3)) % 4;
    const QDateTime day = now.addDays(-pick(2, 700));
    const struct {
        int folder;
        const char *name;
        int hours;
        int picture;
        int quality;
    } shots[] = { { near, "x0", 0, 300, 90 }, { near, "x1", 19, 300, 0 }, { near, "y0", 9, 301, 70 },
        { far, "y1", -29, 301, 0 }, { far, "z", -12, 302, 55 } };
    for (const auto &s : shots) {
        files.push_back({ kFolders[s.folder], QStringLiteral("shot_%1.jpg").arg(s.name),
            day.addSecs(s.hours * 3600), s.picture });
        const QString path = pathIn(source, files.back());
        EXPECT_TRUE(s.quality > 0 ? writeImage(shot, path, s.quality)
                                  : QFile::copy(pathIn(source, files[files.size() - 2]), path));
    }
    return files;
}

// Copies the tree into `root`, each file with its date.
bool placeTree(const QString &source, const QString &root, const std::vector<TreeFile> &files)
{
    for (const TreeFile &file : files) {
        QFile copy(pathIn(root, file));
        if (!QDir().mkpath(root + u'/' + file.folder) || !QFile::copy(pathIn(source, file), copy.fileName())
            || !copy.open(QIODevice::ReadWrite)
            || !copy.setFileTime(file.date, QFileDevice::FileModificationTime))
            return false;
    }
    return true;
}

// The files first fit shows when every file keeps its own dates: each record joins the first group
// whose every member scores at least the threshold against it.
std::set<QString> shownByFirstFit(const ScanSession &session)
{
    const PairScoreOptions options
        = PairScoreOptions::fromSnapshot(session.options.globals, session.options.sliderMinValue);
    std::vector<std::vector<const ImageFileInfo *>> groups;
    for (const auto &record : session.arrImagesContent) {
        const auto fits = [&](const std::vector<const ImageFileInfo *> &group) {
            return std::all_of(group.begin(), group.end(), [&](const ImageFileInfo *member) {
                return PairScore::compareImages(*record, *member, options) >= options.sliderMinValue;
            });
        };
        const auto group = std::find_if(groups.begin(), groups.end(), fits);
        if (group == groups.end())
            groups.push_back({ record.get() });
        else
            group->push_back(record.get());
    }
    std::set<QString> shown;
    for (const auto &group : groups)
        std::transform(group.begin(), group.size() > 1 ? group.end() : group.begin(),
            std::inserter(shown, shown.end()), [](const ImageFileInfo *member) { return member->filePath; });
    return shown;
}

// Checks every two members of each group, and every byte copy of a shown file, each file dated by
// the file dates of all its byte copies.
class Invariants
{
public:
    Invariants(const ScanSession &session, const std::map<QString, int> &pictureOf)
        : m_session(session)
        , m_options(PairScoreOptions::fromSnapshot(session.options.globals, session.options.sliderMinValue))
    {
        for (qsizetype i = 0; i < session.arrImagesContent.size(); ++i) {
            const ImageFileInfo &record = *session.arrImagesContent[i];
            m_position[&record] = i;
            m_copiesOf[&record] = &m_copies[pictureOf.at(record.filePath)];
            m_copies[pictureOf.at(record.filePath)].push_back(&record);
        }
    }

    // Pairs of a group's members that do not match.
    std::vector<std::string> unmatchedPairs() const
    {
        std::vector<std::string> unmatched;
        for (const auto &group : m_session.arrAllFilesGrouping) {
            const RecordList &members = group->children;
            for (qsizetype j = 1; j < members.size(); ++j) {
                for (qsizetype i = 0; i < j; ++i) {
                    if (!match(*members[i], *members[j]))
                        unmatched.push_back(
                            (members[i]->filePath + " / " + members[j]->filePath).toStdString());
                }
            }
        }
        return unmatched;
    }

    // Byte copies of a shown file that are not shown, or shown apart from their copies where their
    // group could join the group of one.
    std::vector<std::string> copiesLeftOut() const
    {
        std::vector<std::string> left;
        for (const auto &[picture, copies] : m_copies) {
            if (std::ranges::none_of(copies, isShown))
                continue;
            for (const ImageFileInfo *copy : copies) {
                const auto group = copy->parent.lock();
                if (!isShown(copy))
                    left.push_back(copy->filePath.toStdString() + " is not shown");
                else if (std::ranges::none_of(
                             copies, [&](auto *c) { return c != copy && c->parent.lock() == group; })) {
                    for (const ImageFileInfo *other : copies) {
                        if (other != copy && isShown(other) && couldJoin(*group, *other->parent.lock()))
                            left.push_back(copy->filePath.toStdString() + " could join "
                                + other->filePath.toStdString());
                    }
                }
            }
        }
        return left;
    }

private:
    static bool isShown(const ImageFileInfo *record)
    {
        const auto group = record->parent.lock();
        return group && group->children.size() > 1;
    }

    // Whether the later of the two in scan order matches the earlier: some file date of a copy of
    // one and some of a copy of the other pass.
    bool match(const ImageFileInfo &x, const ImageFileInfo &y) const
    {
        const bool xLater = m_position.at(&x) > m_position.at(&y);
        const ImageFileInfo &later = xLater ? x : y;
        const ImageFileInfo &earlier = xLater ? y : x;
        RecordTimes a = RecordTimes::of(later);
        RecordTimes b = RecordTimes::of(earlier);
        for (const ImageFileInfo *p : *m_copiesOf.at(&later)) {
            for (const ImageFileInfo *q : *m_copiesOf.at(&earlier)) {
                a.createMs = RecordTimes::of(*p).createMs;
                b.createMs = RecordTimes::of(*q).createMs;
                if (PairScore::compareImages(later, a, earlier, b, m_options) >= m_options.sliderMinValue)
                    return true;
            }
        }
        return false;
    }

    bool couldJoin(const DuplicatesGroup &a, const DuplicatesGroup &b) const
    {
        return std::ranges::all_of(a.children, [&](const auto &x) {
            return std::ranges::all_of(b.children, [&](const auto &y) { return match(*x, *y); });
        });
    }

    const ScanSession &m_session;
    PairScoreOptions m_options;
    std::map<const ImageFileInfo *, qsizetype> m_position;
    std::map<int, std::vector<const ImageFileInfo *>> m_copies;
    std::map<const ImageFileInfo *, const std::vector<const ImageFileInfo *> *> m_copiesOf;
};

} // namespace

class CopiesInGeneratedTreesTest : public ::testing::TestWithParam<std::uint32_t>
{
};

TEST_P(CopiesInGeneratedTreesTest, NoFileFirstFitShowsIsLostGroupsMatchAndCopiesOfShownFilesAreShown)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source"));
    const std::vector<TreeFile> files = makeTree(source, GetParam());
    std::vector<int> order(size_t(kFolders.size()));
    std::iota(order.begin(), order.end(), 0);
    int tree = 0;
    do {
        for (const bool warm : { false, true }) {
            const QString root = dir.filePath(QString::number(tree));
            ASSERT_TRUE(placeTree(source, root, files));
            std::vector<FilePathNode> nodes;
            for (const int i : order)
                nodes.push_back(folderNode(root + u'/' + kFolders[i]));
            // The second copy comes in at a place of its own in each walk order.
            const qsizetype copyAt
                = qsizetype(GetParam() + std::uint32_t(tree++ / 2)) % (kFolders.size() + 1);
            nodes.insert(nodes.begin() + copyAt, folderNode(root + u'/' + kLibraryCopy));
            // Warm: the cache already holds every folder but the one walked first.
            if (warm) {
                ASSERT_TRUE(runScan(options(false), { nodes.begin() + 1, nodes.end() }).finished);
            }
            const ScanResult result = runScan(options(false), nodes);
            ASSERT_TRUE(result.finished && result.session);
            std::set<QString> shown;
            for (const QStringList &group : result.groups)
                shown.insert(group.begin(), group.end());
            std::map<QString, int> pictureOf;
            for (const TreeFile &file : files)
                pictureOf[pathIn(root, file)] = file.picture;
            const auto where = "seed " + std::to_string(GetParam()) + (warm ? ", warm" : ", cold")
                + ", walk order " + testing::PrintToString(order) + ", copy at " + std::to_string(copyAt);
            for (const QString &path : shownByFirstFit(*result.session))
                EXPECT_TRUE(shown.contains(path)) << where << ": " << path.toStdString();
            const Invariants invariants(*result.session, pictureOf);
            for (const std::string &pair : invariants.unmatchedPairs())
                ADD_FAILURE() << where << ": " << pair;
            for (const std::string &copy : invariants.copiesLeftOut())
                ADD_FAILURE() << where << ": " << copy;
        }
    } while (std::next_permutation(order.begin(), order.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Seeds, CopiesInGeneratedTreesTest, ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u));

// A pan over six folders, each holding two neighbouring frames, the first a byte copy of the frame
// the folder before ends with, written two years after it: frames two apart are years apart by
// all their copies, so each folder's frames stay a group of their own.
TEST(PanAcrossFoldersTest, SixFoldersGiveSixPairs)
{
    QTemporaryDir dir;
    const QImage pan = NaturalPhoto::make(5, 400, 240);
    const QDateTime now = QDateTime::currentDateTime().addDays(-1);
    std::vector<TreeFile> files;
    QList<QStringList> expected;
    for (int k = 1; k <= 6; ++k) {
        const QString folder = QStringLiteral("f%1").arg(k);
        expected.append(QStringList());
        ASSERT_TRUE(QDir(dir.path()).mkpath(folder));
        for (const int frame : { k - 1, k }) {
            files.push_back({ folder, QStringLiteral("pan%1.jpg").arg(frame),
                now.addYears(2 * (k - 6)).addSecs(frame), 100 + frame });
            expected.back().append(folder + u'/' + files.back().name);
            ASSERT_TRUE(frame == k || frame == 0
                    ? writeImage(pan.copy(4 * frame, 0, 320, 240), pathIn(dir.path(), files.back()))
                    : QFile::copy(
                        pathIn(dir.path(), files[files.size() - 2]), pathIn(dir.path(), files.back())));
        }
    }
    const QString root = dir.filePath(QStringLiteral("tree"));
    ASSERT_TRUE(placeTree(dir.path(), root, files));
    const ScanResult result = runScan(options(false), { folderNode(root) });
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(relativeGroups(result.groups, root), expected);
}
