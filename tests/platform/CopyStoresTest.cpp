// Stores of other tools' copies, told from a user's own folders by name, by place and by sibling.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/CopyStores.h"
#include "platform/Trash.h"

namespace
{

TEST(CopyStores, NamesAndPlacesInAnyLetterCase)
{
    for (const char *store :
        { "/Sync/.STVersions", "/Sync/.syncarchive", "/MEGA/.Debris", "/Insync/.INSYNC-trash",
            "/Drive/.synologyworkingdirectory", "/Sync/.SYNC/archive", "/share/.Snapshot", "/.SNAPSHOTS",
            "/share/~Snapshot", "/share/#SNAPSHOT", "/share/@recently-snapshot", "/pool/.ZFS",
            "/btrfs/@Snapshots", "/btrfs/@.snapshots", "/share/@gmt-2024.01.02-03.04.05",
            "/tm/backups.BACKUPDB", "/mac/.mobilebackups", "/mac/.documentrevisions-v100", "/backup/Daily.0",
            "/backup/ALPHA.12", "/TimeShift/Snapshots", "/timeshift-btrfs/SNAPSHOTS-daily",
            "/BackInTime/host/user/1/20240102-030405-123", "/backintime/host/user/1/New_Snapshot",
            "/FileHistory/bob/PC/DATA", "/data/APPDATA_oc1a2b3c/Preview", "/home/u/.Cache/Thumbnails",
            "/photoprism/storage/cache/thumbnails", "/photo/@EADIR", "/Multimedia/.@__Thumb", "/share/.WDMC",
            "/DCIM/.Thumbnails", "/card/.SH_thumbnails" })
        EXPECT_TRUE(Trash::isInsideTrashFolder(QStringLiteral("/media/disk%1/a.jpg").arg(store))) << store;
    // The same common words away from their tool's place.
    for (const char *folder : { "/Archive", "/sync/Archive", "/snapshot", "/snapshots", "/timeshift",
             "/backintime/host/user/1/holiday", "/backintime/20240102-030405-123", "/FileHistory/Data",
             "/daily", "/daily.x", "/preview", "/thumbnails", "/thumbs", "/files_versions",
             "/@GMT-2024.01.02", "/GMT-2024.01.02-03.04.05", "/zfs", "/eaDir" })
        EXPECT_FALSE(Trash::isInsideTrashFolder(QStringLiteral("/media/disk%1/a.jpg").arg(folder))) << folder;
}

// A name trusted beside its tool's sibling, whatever that sibling is now: a folder, or a link to
// the disk the data was moved to (the sibling itself is never looked at).
TEST(CopyStores, SiblingNamesAreTrustedBesideTheirSiblingOnly)
{
    struct Row {
        const char *store, *sibling;
        bool siblingIsLink, left;
    };
    for (const Row &row : { Row { "files_trashbin", "files", false, true },
             Row { "Files_Trashbin", "FILES", true, true }, Row { "FILES_VERSIONS", "Files", false, true },
             Row { "Thumbnails", "files", true, true }, Row { "thumbs", "Encoded-Video", false, true },
             Row { "files_trashbin", "files.old", false, false }, Row { "thumbs", "files", false, false } }) {
        QTemporaryDir dir;
        const QString sibling = dir.filePath(row.sibling);
        ASSERT_TRUE(
            row.siblingIsLink ? QFile::link(dir.filePath("nowhere"), sibling) : QDir().mkpath(sibling));
        EXPECT_EQ(CopyStores::isStore(dir.filePath(row.store)), row.left)
            << row.store << " beside " << row.sibling;
    }
}

} // namespace
