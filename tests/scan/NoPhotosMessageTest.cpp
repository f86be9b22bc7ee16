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

// Photos and folders left out for names that are not valid UTF-8 are told as files of unticked types
// are, with the folder of the first, whether or not anything was found.
TEST(NoPhotosMessageTest, NamesThatAreNotUtf8AreTold)
{
    WalkReport report;
    report.firstSkippedForNameFolder = QStringLiteral("/home/me/Pictures/2019");
    const std::pair<int, const char *> rows[] = {
        { 1,
            "1 photo or folder was left out as its name is not valid UTF-8 text, in "
            "“/home/me/Pictures/2019”; "
            "renamed, it is scanned." },
        { 3,
            "3 photos or folders were left out as their names are not valid UTF-8 text, the first in "
            "“/home/me/Pictures/2019”; renamed, they are scanned." },
    };
    for (const auto &[count, told] : rows) {
        report.skippedForName = count;
        EXPECT_EQ(NoPhotosMessage::leftOutFilesText(report, 0), QString::fromUtf8(told));
        EXPECT_EQ(NoPhotosMessage::informativeText(report, 0), QString::fromUtf8(told));
    }
}

TEST(NoPhotosMessageTest, AFolderOfTheProgramAloneIsToldAsSuchNotAsPhotosLeftOut)
{
    WalkReport report;
    report.firstSilentOwnFolder = QStringLiteral("/home/me/.local/share/Quennary");
    EXPECT_EQ(NoPhotosMessage::skippedTitle(report),
        localizedString(QStringLiteral("ID_OWN_FOLDER_NOT_ANSWERING_TITLE")));
    report.notFetched = 1;
    EXPECT_EQ(NoPhotosMessage::skippedTitle(report),
        localizedString(QStringLiteral("ID_SOME_FILES_WERE_NOT_COMPARED")));
}
