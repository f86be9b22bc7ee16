// What the end of a scan tells of what it could not take: unreadable folders and a photo library
// read in part or not at all, each named with its own text and figure.
#include <gtest/gtest.h>

#include "app/LocalizedString.h"
#include "scan/NoPhotosMessage.h"

namespace
{

TEST(NoPhotosMessageTest, APartlyReadLibraryIsToldWithTheFolders)
{
    struct Case {
        const char *name;
        int unreadableFolders;
        qsizetype itemsTaken;
        QStringList expected;
        const char *title;
    };
    const QString library = QStringLiteral("/home/me/Pictures/Big.photoslibrary");
    const Case cases[] = {
        { "inPart", 0, 1234, { library, QStringLiteral("1234") }, "ID_SOME_PHOTOS_WERE_NOT_SCANNED" },
        { "tooLarge", 0, 0, { library }, "ID_SOME_PHOTOS_WERE_NOT_SCANNED" },
        { "withFolders", 2, 7, { library, QStringLiteral("/unreadable") },
            "ID_SOME_FOLDERS_WERE_NOT_SCANNED" },
    };
    for (const Case &c : cases) {
        WalkReport report;
        report.unreadableFolders = c.unreadableFolders;
        report.firstUnreadableFolder = QStringLiteral("/unreadable");
        report.libraryReadInPart = library;
        report.libraryItemsTaken = c.itemsTaken;
        const QString text = NoPhotosMessage::unreadableFoldersText(report);
        for (const QString &part : c.expected)
            EXPECT_TRUE(text.contains(part)) << c.name << ": " << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("ID_"))) << c.name;
        EXPECT_EQ(NoPhotosMessage::unreadableTitle(report), localizedString(QString::fromLatin1(c.title)))
            << c.name;
        // The alert of a scan that found nothing says it too.
        EXPECT_TRUE(NoPhotosMessage::informativeText(report, 0).contains(library)) << c.name;
    }
    EXPECT_TRUE(NoPhotosMessage::unreadableFoldersText(WalkReport()).isEmpty());
}

} // namespace
