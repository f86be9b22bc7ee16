// What each removal route says it does with the marked files, in its question and its summary.
#include "removal/RemovalRouteTexts.h"
#include "app/LocalizedString.h"
#include "removal/RemovalFixture.h"
#include "results/AfterTrashSummary.h"

// Three 161,270-byte photos, the last two marked and removed, `library` of them library items.
TEST(RemovalRouteTextsTest, TheQuestionAndTheSummaryNameWhatEachRouteDoes)
{
    const QString file = QStringLiteral("/home/u/albums.plist");
    const std::tuple<ScanSource, int, QStringList, QStringList, const char *> cases[] = {
        { ScanSource::thisComputer, 0,
            { "Move 2 marked files, 322.54 KB in all, to the Trash?", "freed when the Trash is emptied" },
            { "album" }, "ID_TRASH_PHOTOS" },
        { ScanSource::thisComputer, 2,
            { "List 2 marked library items in the album \"Album\"?", file,
                "2 items listed in the album file" },
            { "Trash", "KB", "moved", "recovered" }, "ID_LIST_IN_ALBUM" },
        { ScanSource::thisComputer, 1,
            { "Move the 1 marked file of this computer, 161.27 KB, to the Trash?", "List 1 marked",
                "For the library item, nothing is deleted", "1 item listed", "1 photo moved",
                "161.27 KB recovered" },
            { "Nothing is deleted", "Move 1 marked" }, "ID_CONTINUE" },
        { ScanSource::dropbox, 0, { "from Dropbox?", "30 days", "Deleted from Dropbox" },
            { "Trash", "album", "freed" }, "ID_DELETE_FROM_DROPBOX" },
        { ScanSource::googleDrive, 0,
            { "to the Google Drive trash?", "for good after 30 days", "moved to the Google Drive trash" },
            { "the Trash", "album", "freed" }, "ID_MOVE_TO_DRIVE_TRASH" }
    };
    for (const auto &[source, library, says, neverSays, button] : cases) {
        std::vector<std::shared_ptr<ImageFileInfo>> files;
        for (int i = 0; i < 3; ++i) {
            files.push_back(RemovalFixture::recordOf(QStringLiteral("/p/%1.jpg").arg(i)));
            std::tie(files[i]->fileSize, files[i]->isMark, files[i]->isPhotosNode)
                = std::tuple(161270, i > 0, i > 0 && i <= library);
        }
        ResultState state;
        state.scanSource = source;
        RemovalFixture::show(state, { RemovalFixture::groupOf(files) });
        const auto shares = RemovalRouteTexts::markedShares(state);
        AfterTrashInput after;
        std::tie(after.scanType, after.countTrashed, after.listedInAlbum, after.albumFile)
            = std::tuple(source, 2, library, file);
        after.isPhotosLibAdded = after.isPhotosLibrayMarkedForTrash = library > 0;
        after.sizeTrashed = std::uint64_t(2 - library) * 161270;
        after.deletedFileTypes = GlobalObjects::TypeSupport::ONLYIMAGES;
        const TrashSummaryTexts t = AfterTrashSummary::trashSummaryTexts(after);
        const QString text = RemovalRouteTexts::question(shares, "Album")
            + RemovalRouteTexts::reviewNote(shares, file) + AfterTrashSummary::recoveryText(after)
            + (library > 0
                    ? AfterTrashSummary::movedCountText(after) + AfterTrashSummary::spaceToRecoverText(after)
                    : t.deletionSuccess + t.sizeCaption);
        for (const QString &words : says)
            EXPECT_TRUE(text.contains(words)) << text.toStdString() << " lacks " << words.toStdString();
        for (const QString &words : neverSays)
            EXPECT_FALSE(text.contains(words)) << text.toStdString() << " says " << words.toStdString();
        EXPECT_EQ(RemovalRouteTexts::proceedTitle(shares), localizedString(QString::fromLatin1(button)));
    }
}
