// Members alike share a score class, so that a group of thousands of them costs a few scores per
// newcomer: in a similar scan their content sums do not tell them apart, in an exact one they do.
#include <gtest/gtest.h>

#include "model/ImageFileInfo.h"
#include "scan/ScoreClasses.h"

namespace
{

struct ClassCase {
    const char *name;
    bool comparesSums;
    // Each member's sum and size; every member has the same fingerprint and date.
    std::vector<std::pair<const char *, quint64>> members;
    size_t classes;
};

class ScoreClassesTest : public ::testing::TestWithParam<ClassCase>
{
};

TEST_P(ScoreClassesTest, MembersAlikeShareAClass)
{
    const ClassCase &c = GetParam();
    std::vector<ImageFileInfo> members(c.members.size());
    ScoreClasses classes(c.comparesSums);
    for (size_t i = 0; i < members.size(); ++i) {
        members[i].fileMd5 = QString::fromLatin1(c.members[i].first);
        members[i].fileSize = c.members[i].second;
        members[i].createDate = QDateTime::fromSecsSinceEpoch(1700000000 + qint64(i));
        members[i].arrHashOfRotateFlipImages.append(std::vector<uint8_t>(512, 0x5a));
        classes.add(members[i], qsizetype(i));
    }
    EXPECT_EQ(classes.classes().size(), c.classes);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScoreClassesTest,
    ::testing::Values(
        ClassCase { "SimilarFramesWithSumsOfTheirOwn", false, { { "a", 9 }, { "b", 9 }, { "c", 9 } }, 1 },
        ClassCase { "SimilarSummedAndUnsummed", false, { { "a", 9 }, { "", 9 } }, 1 },
        ClassCase { "SimilarOtherSizes", false, { { "a", 9 }, { "a", 10 } }, 2 },
        ClassCase { "ExactOtherSums", true, { { "a", 9 }, { "b", 9 }, { "a", 9 } }, 2 }),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
