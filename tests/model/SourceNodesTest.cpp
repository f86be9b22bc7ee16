// Source nodes and groups: their defaults, and links between records and groups that never own.
#include <memory>

#include <gtest/gtest.h>

#include "model/CloudScanFoldersList.h"
#include "model/DuplicatesGroup.h"
#include "model/FilePathNode.h"
#include "model/GDFoldersList.h"
#include "model/ImageFileInfo.h"

namespace
{

TEST(SourceNodes, Defaults)
{
    const FilePathNode path;
    EXPECT_EQ(path.state, -1);
    EXPECT_EQ(path.nodeType, GlobalObjects::NodeType::nodeTypefile);
    EXPECT_FALSE(path.filePath.has_value());

    const GDFoldersList drive;
    EXPECT_TRUE(drive.driveFile()); // a resource object, not an absent one
    EXPECT_TRUE(drive.children().isEmpty());
    EXPECT_TRUE(drive.isExpandable());

    const CloudScanFoldersList cloud;
    EXPECT_TRUE(cloud.isExpandable);
    EXPECT_FALSE(cloud.isAllFilesFetched);
    EXPECT_EQ(cloud.currentScanFolderIndex, 0);
    EXPECT_TRUE(cloud.parentNodeDropBoxList.expired());
}

TEST(SourceNodes, CloudChildDoesNotKeepItsParentAlive)
{
    auto parent = std::make_shared<CloudScanFoldersList>();
    auto child = std::make_shared<CloudScanFoldersList>();
    child->parentNodeDropBoxList = parent;
    parent->arrChildren.append(child);
    parent.reset();
    EXPECT_TRUE(child->parentNodeDropBoxList.expired());
}

TEST(DuplicatesGroupTest, BackLinksNeverOwnAndExpireWithTheirTargets)
{
    std::weak_ptr<DuplicatesGroup> watchGroup;
    auto survivor = std::make_shared<ImageFileInfo>();
    {
        auto group = std::make_shared<DuplicatesGroup>();
        auto other = std::make_shared<ImageFileInfo>();
        survivor->parent = group;
        survivor->matchesWithNode = other;
        other->matchesWithNode = survivor;
        group->children = { survivor, other };
        watchGroup = group;
    }
    // The group and the record it held die although both point back at each other.
    EXPECT_TRUE(watchGroup.expired());
    EXPECT_FALSE(survivor->parent.lock());
    EXPECT_FALSE(survivor->matchesWithNode.lock());
}

} // namespace
