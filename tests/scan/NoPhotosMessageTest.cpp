// The end of a scan tells of a photo library read in part or not at all, and of files outside its dates.
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

TEST(NoPhotosMessageTest, FilesOutsideTheDatesAreToldWhenNothingWasFound)
{
    WalkReport report;
    report.outsideScanPeriod = 1;
    EXPECT_EQ(NoPhotosMessage::informativeText(report, 0),
        QStringLiteral("1 file was left out as its date lies outside the period chosen for the scan."));
    EXPECT_TRUE(NoPhotosMessage::skippedFoldersText(report).isEmpty());
}
