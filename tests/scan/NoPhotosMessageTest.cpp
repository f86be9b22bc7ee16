// The note on folders a scan left out: unreadable ones, then Trashes, each first by name.
#include <gtest/gtest.h>

#include "app/LocalizedString.h"
#include "scan/NoPhotosMessage.h"

namespace
{

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

TEST(NoPhotosMessageTest, NamesTheFirstUnreadableFolderAndTheFirstTrashThenHowManyMore)
{
    struct Case {
        int unreadable, trashes;
        QStringList lines;
    };
    const QString gone = QStringLiteral("The folder \"/gone\" could not be read (denied).");
    const QString trash = QStringLiteral("The folder \"/card/$RECYCLE.BIN\" was left out as a Trash");
    const Case cases[] = {
        { 0, 0, {} },
        { 0, 1, { trash } },
        { 0, 2, { trash, text("ID_ONE_MORE_FOLDER_SKIPPED_AS_TRASH") } },
        { 2, 4,
            { gone, text("ID_ONE_MORE_FOLDER_COULD_NOT_BE_READ"), trash, "3 more folders were left out" } },
    };
    for (const Case &c : cases) {
        WalkReport report;
        report.unreadableFolders = c.unreadable;
        report.firstUnreadableFolder = QStringLiteral("/gone");
        report.firstUnreadableReason = QStringLiteral("denied");
        report.trashFolders = c.trashes;
        report.firstTrashFolder = QStringLiteral("/card/$RECYCLE.BIN");
        const QString shown = NoPhotosMessage::skippedFoldersText(report);
        const QStringList lines = shown.isEmpty() ? QStringList() : shown.split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), c.lines.size()) << qPrintable(shown);
        for (qsizetype i = 0; i < lines.size(); ++i)
            EXPECT_TRUE(lines[i].startsWith(c.lines[i])) << qPrintable(lines[i]);
    }
}

} // namespace
