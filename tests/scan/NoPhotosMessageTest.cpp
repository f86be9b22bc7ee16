// The end of a scan tells of a photo library read in part or not at all, of cloud files it could
// not fetch and of files outside its dates.
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

TEST(NoPhotosMessageTest, FilesNotFetchedAndOutsideTheDatesAreTold)
{
    WalkReport report;
    report.notFetched = 2;
    report.firstNotFetched = QStringLiteral("Dropbox/A/one.jpg");
    report.firstNotFetchedReason = QStringLiteral("HTTP error 500");
    const QString skipped = NoPhotosMessage::skippedFoldersText(report);
    EXPECT_TRUE(skipped.startsWith(QStringLiteral("2 files could not be fetched"))
        && skipped.contains(report.firstNotFetched) && skipped.contains(report.firstNotFetchedReason))
        << skipped.toStdString();
    EXPECT_EQ(NoPhotosMessage::skippedTitle(report), localizedString(QStringLiteral("ID_SOME_FILES_WERE_NOT_COMPARED")));
    report = WalkReport();
    report.outsideScanPeriod = 1;
    EXPECT_EQ(NoPhotosMessage::informativeText(report, 0),
        QStringLiteral("1 file was left out as its date lies outside the period chosen for the scan."));
    EXPECT_TRUE(NoPhotosMessage::skippedFoldersText(report).isEmpty());
}
