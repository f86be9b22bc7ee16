// The question before a removal and its button say what each route does with the marked files.
#include <gtest/gtest.h>

#include "app/LocalizedString.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "removal/RemovalRouteTexts.h"
#include "results/ResultState.h"

namespace
{

const QString kAlbumFile = QStringLiteral("/home/u/.local/share/Quennary/marked-albums.plist");

struct QuestionCase {
    const char *name;
    ScanSource source;
    int libraryItems; // of the two marked files
    QStringList says;
    QStringList neverSays;
    const char *buttonKey;
};

class RemovalQuestionTest : public ::testing::TestWithParam<QuestionCase>
{
};

} // namespace

// A group of three 161,270-byte files, the last two marked.
TEST_P(RemovalQuestionTest, NamesWhatTheRouteDoes)
{
    const QuestionCase &c = GetParam();
    ResultState state;
    state.scanSource = c.source;
    auto group = std::make_shared<DuplicatesGroup>();
    for (int i = 0; i < 3; ++i) {
        auto record = std::make_shared<ImageFileInfo>();
        record->filePath = QStringLiteral("/p/%1.jpg").arg(i);
        record->fileSize = 161270;
        record->isMark = i > 0;
        record->isPhotosNode = i > 0 && i <= c.libraryItems;
        group->children.append(record);
    }
    group->filterChildren = group->children;
    state.arrGroups.push_back(group);
    const RemovalRouteTexts::Shares shares = RemovalRouteTexts::markedShares(state);
    const QString question = RemovalRouteTexts::question(shares, QStringLiteral("Duplicate Marked Photos"))
        + QLatin1Char(' ') + RemovalRouteTexts::reviewNote(shares, kAlbumFile);
    for (const QString &words : c.says)
        EXPECT_TRUE(question.contains(words)) << question.toStdString() << " lacks " << words.toStdString();
    for (const QString &words : c.neverSays)
        EXPECT_FALSE(question.contains(words)) << question.toStdString() << " says " << words.toStdString();
    EXPECT_EQ(RemovalRouteTexts::proceedTitle(shares), localizedString(QString::fromLatin1(c.buttonKey)));
}

INSTANTIATE_TEST_SUITE_P(Routes, RemovalQuestionTest,
    ::testing::Values(QuestionCase { "Local", ScanSource::thisComputer, 0,
                          { "Move 2 marked files, 322.54 KB in all, to the Trash?" }, { "album", "Dropbox" },
                          "ID_TRASH_PHOTOS" },
        QuestionCase { "Library", ScanSource::thisComputer, 2,
            { "List 2 marked library items", "\"Duplicate Marked Photos\"", kAlbumFile, "no space is freed" },
            { "Trash", "KB" }, "ID_LIST_IN_ALBUM" },
        QuestionCase { "LocalAndLibrary", ScanSource::thisComputer, 1,
            { "Move 1 marked file of 161.27 KB to the Trash?", "List 1 marked library item", kAlbumFile },
            { "Dropbox" }, "ID_CONTINUE" },
        QuestionCase { "Dropbox", ScanSource::dropbox, 0,
            { "Delete 2 marked files, 322.54 KB in all, from Dropbox?", "30 days",
                "deleted files of your Dropbox" },
            { "Trash", "album" }, "ID_DELETE_FROM_DROPBOX" },
        QuestionCase { "Drive", ScanSource::googleDrive, 0,
            { "to the Google Drive trash?", "for good after 30 days" }, { "the Trash", "album" },
            "ID_MOVE_TO_DRIVE_TRASH" }),
    [](const auto &info) { return std::string(info.param.name); });
