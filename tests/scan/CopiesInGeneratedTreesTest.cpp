// Whole scans of generated trees: a few photos, byte copies of them written on random days, near
// copies dated a few seconds after a random copy, and a pan and a burst whose frames match only their
// neighbours, with byte copies of inner frames written years apart, over four folders. In every walk
// order, cold and warm after a folder came in, the scan shows every file that first fit shows, every
// two members of a group match, and the byte copies of each photo stand in one group.
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

struct TreeFile {
    QString folder;
    QString name;
    QDateTime date;
    // The picture whose bytes the file has (the photos are 0 to 2): files of one picture are byte copies.
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

// Pairs of a group's members whose later one scores below the threshold against the earlier, even
// without file dates where both are or match byte copies of one picture (`pictureOf`).
std::vector<std::string> unmatchedPairs(const ScanSession &session, const std::map<QString, int> &pictureOf)
{
    const PairScoreOptions options
        = PairScoreOptions::fromSnapshot(session.options.globals, session.options.sliderMinValue);
    std::vector<std::string> unmatched;
    for (const auto &group : session.arrAllFilesGrouping) {
        const RecordList &members = group->children;
        const auto match = [&](qsizetype i, qsizetype j, bool fileDates) {
            const ImageFileInfo &later = *members[std::max(i, j)];
            const ImageFileInfo &earlier = *members[std::min(i, j)];
            RecordTimes times = RecordTimes::of(later);
            times.hasCreate = times.hasCreate && fileDates;
            return i == j
                || PairScore::compareImages(later, times, earlier, RecordTimes::of(earlier), options)
                >= options.sliderMinValue;
        };
        std::vector<std::set<int>> beside(size_t(members.size()));
        for (qsizetype i = 0; i < members.size(); ++i) {
            for (qsizetype j = 0; j < members.size(); ++j) {
                if (pictureOf.contains(members[j]->filePath) && match(i, j, true))
                    beside[size_t(i)].insert(pictureOf.at(members[j]->filePath));
            }
        }
        for (qsizetype j = 1; j < members.size(); ++j) {
            for (qsizetype i = 0; i < j; ++i) {
                if (!match(i, j, !std::ranges::any_of(beside[size_t(i)], [&](int p) {
                        return beside[size_t(j)].contains(p);
                    })))
                    unmatched.push_back((members[i]->filePath + " / " + members[j]->filePath).toStdString());
            }
        }
    }
    return unmatched;
}

} // namespace

class CopiesInGeneratedTreesTest : public ::testing::TestWithParam<std::uint32_t>
{
};

TEST_P(CopiesInGeneratedTreesTest, NoFileFirstFitShowsIsLostGroupsMatchAndCopiesStandTogether)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source"));
    const std::vector<TreeFile> files = makeTree(source, GetParam());
    std::vector<int> order(size_t(kFolders.size()));
    std::iota(order.begin(), order.end(), 0);
    int tree = 0;
    do {
        for (const bool warm : { false, true }) {
            const QString root = dir.filePath(QString::number(tree++));
            ASSERT_TRUE(placeTree(source, root, files));
            std::vector<FilePathNode> nodes;
            for (const int i : order)
                nodes.push_back(folderNode(root + u'/' + kFolders[i]));
            // Warm: the cache already holds every folder but the one walked first.
            if (warm) {
                ASSERT_TRUE(runScan(options(false), { nodes.begin() + 1, nodes.end() }).finished);
            }
            const ScanResult result = runScan(options(false), nodes);
            ASSERT_TRUE(result.finished && result.session);
            // The group of each shown file, and the groups of each photo's byte copies (-1: not shown).
            std::map<QString, int> groupOf;
            for (int g = 0; g < result.groups.size(); ++g) {
                for (const QString &path : result.groups[g])
                    groupOf[path] = g;
            }
            std::map<int, std::vector<int>> groupsOfPhoto;
            std::map<QString, int> pictureOf;
            for (const TreeFile &file : files) {
                const auto found = groupOf.find(pathIn(root, file));
                if (file.picture < 3)
                    groupsOfPhoto[file.picture].push_back(found == groupOf.end() ? -1 : found->second);
                if (std::ranges::count(files, file.picture, &TreeFile::picture) > 1)
                    pictureOf[pathIn(root, file)] = file.picture;
            }
            const auto where = "seed " + std::to_string(GetParam()) + (warm ? ", warm" : ", cold")
                + ", walk order " + testing::PrintToString(order);
            for (const QString &path : shownByFirstFit(*result.session))
                EXPECT_TRUE(groupOf.contains(path)) << where << ": " << path.toStdString();
            for (const std::string &pair : unmatchedPairs(*result.session, pictureOf))
                ADD_FAILURE() << where << ": " << pair;
            for (const auto &[photo, groups] : groupsOfPhoto)
                EXPECT_TRUE(groups.size() == 1
                    || (groups[0] >= 0 && std::ranges::count(groups, groups[0]) == qsizetype(groups.size())))
                    << where << ", photo " << photo;
        }
    } while (std::next_permutation(order.begin(), order.end()));
}

INSTANTIATE_TEST_SUITE_P(Seeds, CopiesInGeneratedTreesTest, ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u));
