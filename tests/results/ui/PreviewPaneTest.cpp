// The preview pane for a photo, a video, an unreadable file and no record, the metadata table it
// reloads, and a generated clip playing in the compact player.
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

#include "controls/ITPathbar.h"
#include "model/ImageProcessing.h"
#include "results/ui/MetadataTable.h"
#include "results/ui/MjpegClip.h"
#include "results/ui/ResultWindowFixture.h"
#include "results/ui/VideoPreview.h"
#include "support/DeadMount.h"

namespace
{

class PreviewPaneTest : public ResultWindowFixture
{
protected:
    void SetUp() override
    {
        ResultWindowFixture::SetUp();
        open();
    }

    void show(const std::shared_ptr<ImageFileInfo> &record)
    {
        controller->fillMetaDataTable(record);
        controller->changeAllComponentsOnMainThread(record, true);
    }

    // Does `act`, then waits for what is read apart of the file it shows: its EXIF, and its picture
    // when `picture`.
    void waitForReads(const std::function<void()> &act, bool picture = true)
    {
        int pictures = 0, rows = 0;
        const auto a = QObject::connect(&pane(), &PreviewPane::imageRead, [&pictures] { ++pictures; });
        const auto b
            = QObject::connect(&builder->metadataTable(), &MetadataTable::rowsRead, [&rows] { ++rows; });
        act();
        EXPECT_TRUE(waitUntil([&] { return (pictures > 0 || !picture) && rows > 0; }));
        QObject::disconnect(a);
        QObject::disconnect(b);
    }

    void showRead(const std::shared_ptr<ImageFileInfo> &record, bool picture = true)
    {
        waitForReads([&] { show(record); }, picture);
    }

    PreviewPane &pane() { return builder->previewPane(); }
    QTableWidget &table() { return *builder->metadataTable().tvMetaData; }
};

TEST_F(PreviewPaneTest, PhotoShowsItsImageCachesItAndFillsPathBarsAndTable)
{
    const auto record = photo(QStringLiteral("p"), 1.0f);
    waitForReads([&] {
        show(record);
        // Nothing of the file is read on this thread: the path bars and the scan's facts show at once.
        EXPECT_EQ(pane().lblBottomPathBar->pathStr(), record->filePath);
        EXPECT_EQ(table().item(0, 1)->text(), record->fileName);
        EXPECT_TRUE(record->imgThumbnail.isNull());
    });
    EXPECT_FALSE(pane().imgPreview->isHidden());
    EXPECT_TRUE(pane().previewForVideo->isHidden());
    EXPECT_TRUE(pane().lblNoPhotoSelectedForPreview->isHidden());
    ASSERT_FALSE(record->imgThumbnail.isNull());
    EXPECT_EQ(record->imgThumbnail.size(), QSize(PreviewPane::kImageWidth, PreviewPane::kImageHeight));
    EXPECT_EQ(pane().shownImage(), record->imgThumbnail);
    EXPECT_EQ(pane().lblBottomPathBar->pathStr(), record->filePath);
    EXPECT_EQ(pane().lblBottomPathBar->toolTip(), record->filePath);
    EXPECT_EQ(table().rowCount(), 33);
    EXPECT_EQ(table().item(0, 1)->text(), record->fileName);
}

// A library item keeps the name it was imported with, in the path bars as in the list; the last
// component still stands for the file itself.
TEST_F(PreviewPaneTest, ALibraryItemsPathBarsEndInTheNameTheListShows)
{
    const auto record = photo(QStringLiteral("IMG_0003"), 1.0f);
    record->isPhotosNode = true;
    record->fileName = QStringLiteral("IMG_0003.JPG");
    show(record);
    for (ITPathbar *bar : { pane().lblBottomPathBar.data(), pane().pathViewController.data() }) {
        const auto cells = bar->mutablePathComponentCells();
        ASSERT_FALSE(cells.isEmpty());
        EXPECT_EQ(cells.last().title(), record->fileName);
        EXPECT_EQ(cells.last().path(), record->filePath);
    }
}

TEST_F(PreviewPaneTest, CachedImageIsShownWithoutReadingTheFile)
{
    const auto record = photo(QStringLiteral("cached"), 1.0f);
    QImage cached(PreviewPane::kImageWidth, PreviewPane::kImageHeight, QImage::Format_RGB32);
    cached.fill(Qt::magenta);
    record->imgThumbnail = cached;
    QFile::remove(record->filePath);
    showRead(record, false);
    EXPECT_EQ(pane().shownImage(), cached);
}

TEST_F(PreviewPaneTest, UnreadableFileShowsItsTypeIconNeverThePreviousPicture)
{
    const auto good = photo(QStringLiteral("good"), 1.0f);
    showRead(good);
    const QImage previous = pane().shownImage();
    const auto broken = photo(QStringLiteral("broken"), 1.0f);
    QFile file(broken->filePath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray(70000, 'x'));
    file.close();
    showRead(broken);
    EXPECT_FALSE(pane().shownImage().isNull());
    EXPECT_NE(pane().shownImage(), previous);
    EXPECT_TRUE(broken->imgThumbnail.isNull());
    EXPECT_EQ(pane().lblBottomPathBar->pathStr(), broken->filePath);
}

TEST_F(PreviewPaneTest, LocalVideoGetsANewCompactPlayerAndAPhotoHidesIt)
{
    const auto clip = video(QStringLiteral("clip"));
    const QPointer<VideoPreview> first = pane().previewQlVideo;
    EXPECT_EQ(first->style(), VideoPreview::Style::Normal);
    show(clip);
    EXPECT_TRUE(pane().imgPreview->isHidden());
    EXPECT_FALSE(pane().previewForVideo->isHidden());
    ASSERT_TRUE(pane().previewQlVideo);
    EXPECT_NE(pane().previewQlVideo.data(), first.data());
    EXPECT_EQ(pane().previewQlVideo->style(), VideoPreview::Style::Compact);
    EXPECT_EQ(pane().previewQlVideo->previewItemURL(), QUrl::fromLocalFile(clip->filePath));
    show(photo(QStringLiteral("after"), 1.0f));
    EXPECT_FALSE(pane().imgPreview->isHidden());
    EXPECT_TRUE(pane().previewForVideo->isHidden());
}

TEST_F(PreviewPaneTest, CloudVideoShowsAnIconAndNoPlayer)
{
    controller->scanSource = ScanSource::dropbox;
    auto clip = std::make_shared<ImageFileInfo>();
    clip->filePath = QStringLiteral("Dropbox/holiday/clip.mp4");
    clip->fileName = QStringLiteral("clip.mp4");
    clip->isVideo = true;
    controller->changeAllComponentsOnMainThread(clip, true);
    EXPECT_FALSE(pane().imgPreview->isHidden());
    EXPECT_TRUE(pane().previewForVideo->isHidden());
    EXPECT_FALSE(pane().shownImage().isNull());
}

TEST_F(PreviewPaneTest, NoRecordClearsEverything)
{
    show(photo(QStringLiteral("x"), 1.0f));
    show(nullptr);
    EXPECT_FALSE(pane().lblNoPhotoSelectedForPreview->isHidden());
    EXPECT_TRUE(pane().shownImage().isNull());
    EXPECT_TRUE(pane().lblBottomPathBar->pathStr().isEmpty());
    EXPECT_TRUE(pane().pathViewController->pathStr().isEmpty());
    EXPECT_EQ(table().rowCount(), 0);
}

TEST_F(PreviewPaneTest, GeneratedClipPlaysInTheCompactPlayer)
{
    if (!VideoPreview::hasPlayer())
        GTEST_SKIP() << "built without Qt Multimedia";
    const QString path = dir.filePath(QStringLiteral("clip.avi"));
    ASSERT_TRUE(MjpegClip::write(path));
    auto record = ImageFileInfo::initWithPathForFile(path, RecordSettings {});
    ASSERT_TRUE(record);
    record->isVideo = true;
    show(record);
    VideoPreview *player = pane().previewQlVideo;
    ASSERT_TRUE(player);
    QString failure;
    QObject::connect(player, &VideoPreview::failed, [&failure](const QString &reason) { failure = reason; });
    player->play();
    const bool played = waitUntil([&] { return player->position() > 0 || !failure.isEmpty(); });
    if (!played || player->position() == 0)
        GTEST_SKIP() << "no media backend played the clip: "
                     << (failure.isEmpty() ? std::string("no progress within 5 s") : failure.toStdString());
    EXPECT_GT(player->position(), 0);
}

TEST_F(PreviewPaneTest, TheMetadataTableScrollsWithItsKeys)
{
    showRead(photo(QStringLiteral("keys"), 1.0f));
    QCoreApplication::processEvents();
    const QScrollBar *bar = table().verticalScrollBar();
    ASSERT_GT(bar->maximum(), bar->pageStep() + bar->singleStep()) << "the table must be longer than a page";
    const int page = bar->pageStep(), step = bar->singleStep();
    // Key, where the view is afterwards.
    for (const auto &[key, value] :
        { std::pair { Qt::Key_End, bar->maximum() }, { Qt::Key_Home, 0 }, { Qt::Key_PageDown, page },
            { Qt::Key_Down, page + step }, { Qt::Key_PageUp, step }, { Qt::Key_Up, 0 } }) {
        QTest::keyClick(&table(), key);
        EXPECT_EQ(bar->value(), value) << key;
    }
}

// A photo whose share stops answering after the scan: showing it leaves the window answering, and
// its preview names the share (the test below, run beside such a share).
TEST(DeadSharePreviewTest, APhotoBesideASilentShareLeavesTheWindowAnswering)
{
    DeadMount::expectPassesBeside("PreviewPaneTest.APhotoOfASilentShareIsNamedAsNotAnswering");
}

TEST_F(PreviewPaneTest, APhotoOfASilentShareIsNamedAsNotAnswering)
{
    QNY_SKIP_UNLESS_BESIDE_A_SILENT_SHARE();
    const auto silentPhoto = [](const QString &name) {
        auto record = std::make_shared<ImageFileInfo>();
        record->filePath = DeadMount::silentShare() + QStringLiteral("/holiday/") + name;
        record->fileName = name;
        record->fileSize = 70000;
        return record;
    };
    const auto first = silentPhoto(QStringLiteral("a.jpg"));
    // The share never answers: the test ends only as nothing on this thread waits for it.
    show(first);
    EXPECT_EQ(pane().lblBottomPathBar->pathStr(), first->filePath);
    EXPECT_EQ(table().item(0, 1)->text(), first->fileName);
    ASSERT_TRUE(waitUntil([this] { return !pane().lblNotAnswering->isHidden(); }, 30000));
    EXPECT_TRUE(pane().lblNotAnswering->text().contains(DeadMount::silentShare()))
        << pane().lblNotAnswering->text().toStdString();
    EXPECT_FALSE(pane().shownImage().isNull()) << "the file type's icon stands in";
    EXPECT_EQ(table().item(0, 1)->text(), first->fileName);
    // Another photo of that share is named at once, with no look of its own left waiting.
    const qsizetype waiting = DeadMount::threadsWaiting().size();
    show(silentPhoto(QStringLiteral("b.jpg")));
    EXPECT_TRUE(pane().lblNotAnswering->isHidden());
    ASSERT_TRUE(waitUntil([this] { return !pane().lblNotAnswering->isHidden(); }, 30000));
    EXPECT_EQ(DeadMount::threadsWaiting().size(), waiting);
    // A picture cached before the share fell silent stays up; the note comes with its EXIF's read.
    const auto cached = silentPhoto(QStringLiteral("c.jpg"));
    cached->imgThumbnail = QImage(PreviewPane::kImageWidth, PreviewPane::kImageHeight, QImage::Format_RGB32);
    cached->imgThumbnail.fill(Qt::magenta);
    show(cached);
    EXPECT_TRUE(pane().lblNotAnswering->isHidden());
    ASSERT_TRUE(waitUntil([this] { return !pane().lblNotAnswering->isHidden(); }, 30000));
    EXPECT_EQ(pane().shownImage(), cached->imgThumbnail);
    // A photo elsewhere shows as ever.
    showRead(photo(QStringLiteral("here"), 1.0f));
    EXPECT_TRUE(pane().lblNotAnswering->isHidden());
    EXPECT_TRUE(DeadMount::endServerAndWait(DeadMount::threadsWaiting(), 30000));
}

} // namespace
