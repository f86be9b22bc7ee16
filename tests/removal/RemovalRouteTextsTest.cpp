// The question before a removal and its button say what each route does with the marked files.
#include <gtest/gtest.h>

#include "app/LocalizedString.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "removal/RemovalRouteTexts.h"
#include "results/ResultState.h"

// A group of three 161,270-byte files, the last two marked; `library` of them library items.
TEST(RemovalRouteTextsTest, TheQuestionNamesWhatEachRouteDoes)
{
    const QString file = QStringLiteral("/home/u/albums.plist");
    const std::tuple<ScanSource, int, QStringList, QStringList, const char *> cases[] = {
        { ScanSource::thisComputer, 0, { "Move 2 marked files, 322.54 KB in all, to the Trash?" },
            { "album" }, "ID_TRASH_PHOTOS" },
        { ScanSource::thisComputer, 2,
            { "List 2 marked library items in the album \"Album\"?", file, "no space" }, { "Trash", "KB" },
            "ID_LIST_IN_ALBUM" },
        { ScanSource::thisComputer, 1,
            { "Move 1 marked file of 161.27 KB to the Trash?", "List 1 marked", file }, {}, "ID_CONTINUE" },
        { ScanSource::dropbox, 0, { "Delete 2 marked files, 322.54 KB in all, from Dropbox?", "30 days" },
            { "Trash", "album" }, "ID_DELETE_FROM_DROPBOX" },
        { ScanSource::googleDrive, 0, { "to the Google Drive trash?", "for good after 30 days" },
            { "the Trash", "album" }, "ID_MOVE_TO_DRIVE_TRASH" }
    };
    for (const auto &[source, library, says, neverSays, button] : cases) {
        ResultState state;
        state.scanSource = source;
        auto group = std::make_shared<DuplicatesGroup>();
        for (int i = 0; i < 3; ++i) {
            group->children.append(std::make_shared<ImageFileInfo>());
            group->children.back()->fileSize = 161270;
            group->children.back()->isMark = i > 0;
            group->children.back()->isPhotosNode = i > 0 && i <= library;
        }
        group->filterChildren = group->children;
        state.arrGroups.push_back(group);
        const auto shares = RemovalRouteTexts::markedShares(state);
        const QString text = RemovalRouteTexts::question(shares, QStringLiteral("Album")) + QLatin1Char(' ')
            + RemovalRouteTexts::reviewNote(shares, file);
        for (const QString &words : says)
            EXPECT_TRUE(text.contains(words)) << text.toStdString() << " lacks " << words.toStdString();
        for (const QString &words : neverSays)
            EXPECT_FALSE(text.contains(words)) << text.toStdString() << " says " << words.toStdString();
        EXPECT_EQ(RemovalRouteTexts::proceedTitle(shares), localizedString(QString::fromLatin1(button)));
    }
}
