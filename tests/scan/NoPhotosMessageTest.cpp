// The end of a scan tells of a photo library read in part or not at all, beside unread folders.
#include <gtest/gtest.h>

#include "app/LocalizedString.h"
#include "scan/NoPhotosMessage.h"

TEST(NoPhotosMessageTest, APartlyReadLibraryIsToldWithTheFolders)
{
    const QString library = QStringLiteral("/home/me/Pictures/Big.photoslibrary");
    const struct {
        int unreadableFolders;
        qsizetype itemsTaken;
        QString told;
        const char *title;
    } cases[] = { { 0, 1234, QStringLiteral("1234"), "ID_SOME_PHOTOS_WERE_NOT_SCANNED" },
        { 0, 0, library, "ID_SOME_PHOTOS_WERE_NOT_SCANNED" },
        { 2, 7, QStringLiteral("/unreadable"), "ID_SOME_FOLDERS_WERE_NOT_SCANNED" } };
    for (const auto &c : cases) {
        WalkReport report;
        report.unreadableFolders = c.unreadableFolders;
        report.firstUnreadableFolder = QStringLiteral("/unreadable");
        report.libraryReadInPart = library;
        report.libraryItemsTaken = c.itemsTaken;
        const QString text = NoPhotosMessage::unreadableFoldersText(report);
        EXPECT_TRUE(text.contains(library) && text.contains(c.told) && !text.contains(QStringLiteral("ID_")))
            << text.toStdString();
        EXPECT_EQ(NoPhotosMessage::unreadableTitle(report), localizedString(QString::fromLatin1(c.title)));
    }
}
