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

// Each thing told stands in a paragraph of its own: the folder not found, how many more the log
// names, and what else was left out.
TEST(NoPhotosMessageTest, WhatWasLeftOutIsToldInParagraphs)
{
    WalkReport report;
    report.notFoundFolders = 2;
    report.firstNotFoundFolder = QStringLiteral("/media/card/DCIM");
    report.notAnsweringFolders = 1;
    report.firstNotAnsweringFolder = QStringLiteral("/mnt/share");
    report.outsideScanPeriod = 1;
    const QStringList parts = NoPhotosMessage::informativeText(report, 0).split(QStringLiteral("\n\n"));
    ASSERT_EQ(parts.size(), 4) << parts.join('|').toStdString();
    EXPECT_TRUE(parts[0].contains(report.firstNotAnsweringFolder));
    EXPECT_TRUE(parts[1].contains(report.firstNotFoundFolder));
    EXPECT_TRUE(parts[2].startsWith(
        localizedString(QStringLiteral("ID_ONE_MORE_SAVED_FOLDER_NOT_FOUND")).section(' ', 0, 2)));
    EXPECT_FALSE(parts.join(QString()).contains(QLatin1Char('\n')));
}
