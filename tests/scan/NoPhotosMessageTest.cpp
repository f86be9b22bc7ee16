// The end of a scan tells of a photo library read in part or not at all.
#include <gtest/gtest.h>

#include "app/LocalizedString.h"
#include "scan/NoPhotosMessage.h"

TEST(NoPhotosMessageTest, ALibraryReadInPartIsTold)
{
    WalkReport report;
    report.libraryReadInPart = QStringLiteral("/home/me/Big.photoslibrary");
    for (const qsizetype taken : { 1234, 0 }) {
        report.libraryItemsTaken = taken;
        const QString text = NoPhotosMessage::skippedFoldersText(report);
        EXPECT_TRUE(text.contains(report.libraryReadInPart)
            && text.contains(taken ? QStringLiteral("1234") : QString())
            && !text.contains(QStringLiteral("ID_")))
            << text.toStdString();
    }
    EXPECT_EQ(NoPhotosMessage::skippedTitle(report),
        localizedString(QStringLiteral("ID_SOME_PHOTOS_WERE_NOT_SCANNED")));
}
