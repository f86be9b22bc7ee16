// The same-or-inside rule the trash check, the removal guard and the scan list share.
#include <gtest/gtest.h>

#include "platform/PathRules.h"

namespace
{

struct InsideCase {
    const char *name;
    const char *path;
    const char *folder;
    bool inside;
};

class PathRulesInsideTest : public ::testing::TestWithParam<InsideCase>
{
};

TEST_P(PathRulesInsideTest, ComparesWholeComponents)
{
    const InsideCase &c = GetParam();
    EXPECT_EQ(PathRules::isSameOrInside(QString::fromUtf8(c.path), QString::fromUtf8(c.folder)), c.inside);
}

INSTANTIATE_TEST_SUITE_P(Paths, PathRulesInsideTest,
    ::testing::Values(InsideCase { "Same", "/home/u/Photos", "/home/u/Photos", true },
        InsideCase { "Child", "/home/u/Photos/a.jpg", "/home/u/Photos", true },
        InsideCase { "Deeper", "/home/u/Photos/x/y/a.jpg", "/home/u/Photos", true },
        InsideCase { "SiblingSharingAPrefix", "/home/u/Photos-old/a.jpg", "/home/u/Photos", false },
        InsideCase { "Parent", "/home/u", "/home/u/Photos", false },
        InsideCase { "FolderWithTrailingSlash", "/home/u/Photos/a.jpg", "/home/u/Photos/", true },
        InsideCase { "Root", "/etc/passwd", "/", true },
        InsideCase { "CaseMatters", "/home/u/photos/a.jpg", "/home/u/Photos", false }),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
