// The scan list with real temporary files and folders: drops, the open panel, ticking, removing,
// the Scan button and the saved list across a controller restart.
#include <functional>

#include <gtest/gtest.h>

#include "MainWindowTestSupport.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/LocalizedString.h"
#include "app/ScanGlobals.h"
#include "app/SettingsDefaults.h"
#include "controls/CustomTableView.h"
#include "platform/NotificationCenter.h"
#include "platform/Trash.h"
#include "platform/UserDefaults.h"
#include "platform/ui/ScriptedAlertPresenter.h"
#include "platform/ui/ScriptedOpenPanel.h"
#include "scan/ui/DragDropBox.h"
#include "scan/ui/MainViewController.h"
#include "scan/ui/ScanListController.h"
#include "scan/ui/ScanListDelegate.h"
#include "scan/ui/ScanListModel.h"
#include "scan/ui/ScanListRules.h"
#include "support/DeadMount.h"
#include "support/TestEvents.h"
#include "support/TestFiles.h"

namespace
{

using NodeType = GlobalObjects::NodeType;

class ScanListTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(root.isValid());
    }

    QString folder(const QString &name)
    {
        const QString path = root.filePath(name);
        QDir().mkpath(path);
        return path;
    }
    QString file(const QString &name)
    {
        const QString path = root.filePath(name);
        TestFiles::write(path);
        return path;
    }
    // Its database named as a recent library's is, capital included.
    QString library(const QString &name)
    {
        file(name + QStringLiteral("/database/Photos.sqlite"));
        return root.filePath(name);
    }
    std::unique_ptr<MainViewController> makeController()
    {
        auto c = std::make_unique<MainViewController>();
        c->view();
        return c;
    }
    // Waits for the look at the restored entries to answer.
    static void looked(MainViewController &c)
    {
        ASSERT_TRUE(TestEvents::waitFor([&c] { return !c.scanList().isLookingAtEntries(); }, 120000));
        settle();
    }
    static QModelIndex rowAt(const MainViewController &c, int row)
    {
        return c.tvPath->model()->index(row, 0);
    }
    static bool isGreyed(const MainViewController &c, int row)
    {
        return rowAt(c, row).data(ScanListModel::GreyedRole).toBool();
    }
    static QString toolTipOf(const MainViewController &c, int row)
    {
        return rowAt(c, row).data(Qt::ToolTipRole).toString();
    }
    // What each row of the table shows, a line each: its path, and "greyed" when it is.
    static QString rowsShown(const MainViewController &c)
    {
        QStringList rows;
        for (int row = 0; row < c.tvPath->model()->rowCount(); ++row)
            rows.append(
                rowAt(c, row).data().toString() + (isGreyed(c, row) ? QStringLiteral(" greyed") : QString()));
        return rows.join(QLatin1Char('\n'));
    }
    // Through the drop box, as a file manager's drag ends on it; the adds' looks answer.
    static void dropOnBox(MainViewController &c, const QStringList &paths)
    {
        sendDrop(c, paths);
        addsLooked(c);
    }
    // The same without waiting for anything.
    static void sendDrop(MainViewController &c, const QStringList &paths)
    {
        auto *box = qobject_cast<DragDropBox *>(c.boxAddWindow.data());
        ASSERT_NE(box, nullptr);
        QList<QUrl> urls;
        for (const QString &path : paths)
            urls.append(QUrl::fromLocalFile(path));
        QMimeData data;
        data.setUrls(urls);
        const QPointF at(box->width() / 2.0, box->height() / 2.0);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(box, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(box, &dropped);
        EXPECT_TRUE(dropped.isAccepted());
    }
    // Waits for the looks at what was added to answer, and for the adds' reports.
    static void addsLooked(MainViewController &c)
    {
        ASSERT_TRUE(TestEvents::waitFor([&c] { return !c.scanList().isLookingAtAdds(); }, 120000));
        settle();
    }
    static void drop(MainViewController &c, const QStringList &paths)
    {
        NotificationCenter::defaultCenter().post(
            QStringLiteral("FileDragDropNotification"), { { QStringLiteral("paths"), paths } });
        addsLooked(c);
    }
    static QStringList paths(const MainViewController &c)
    {
        QStringList list;
        for (const FilePathNode &node : c.arrPathNodes)
            list.append(node.filePath.value_or(QString()));
        return list;
    }
    // Every row stays, saved and greyed as not answering, with nothing to report; one look waits on
    // the silent share until its server goes.
    void expectAllNotAnswering(const MainViewController &c)
    {
        EXPECT_EQ(rowsShown(c), paths(c).join(QStringLiteral(" greyed\n")) + QStringLiteral(" greyed"));
        for (int row = 0; row < int(c.arrPathNodes.size()); ++row)
            EXPECT_TRUE(toolTipOf(c, row).contains(text("ID_SCAN_LIST_ENTRY_NOT_ANSWERING")));
        EXPECT_EQ(ScanListController::loadSavedPaths().size(), qsizetype(c.arrPathNodes.size()));
        EXPECT_TRUE(alerts.alerts().empty());
        const QStringList waiting = DeadMount::threadsWaiting();
        EXPECT_EQ(waiting.size(), 1);
        EXPECT_TRUE(DeadMount::endServerAndWait(waiting, 30000));
    }
    QString lastInformativeText() const
    {
        return alerts.alerts().empty() ? QString() : alerts.alerts().back().informativeText;
    }

    QTemporaryDir root;
    ScriptedAlertPresenter alerts;
};

TEST_F(ScanListTest, DropOfMixedFilesAndFoldersKeepsFoldersAndEnabledFiles)
{
    auto c = makeController();
    const QString pictures = folder(QStringLiteral("Pictures"));
    const QString photo = file(QStringLiteral("loose/IMG_0001.JPG"));
    const QString note = file(QStringLiteral("loose/notes.txt"));
    dropOnBox(*c, { pictures, photo, note });
    EXPECT_EQ(paths(*c), (QStringList { pictures, photo }));
    EXPECT_EQ(c->arrPathNodes[0].nodeType, NodeType::nodeTypefolder);
    EXPECT_EQ(c->arrPathNodes[1].nodeType, NodeType::nodeTypefile);
    EXPECT_EQ(c->arrPathNodes[1].state, 1);
    EXPECT_TRUE(c->btnCompare->isEnabled());
    EXPECT_EQ(c->btnCompare->state(), IMGButton::OnState);
    EXPECT_EQ(
        lastInformativeText(), text("ID_ITEMS_NOT_PHOTOS_OR_UNREADABLE") + QStringLiteral("\n“notes.txt”"));
    EXPECT_EQ(c->tvPath->toolTip(), text("ID_CTRL_TO_VIEW_MORE_OPTIONS"));
    EXPECT_EQ(c->tvPath->model()->rowCount(), 2);

    DragDropBox *box = qobject_cast<DragDropBox *>(c->boxAddWindow.data());
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->acceptDroppedPaths({}));
}

// A folder inside a listed folder, and one holding it, are entries of their own; only the same
// path, however spelt, is refused.
TEST_F(ScanListTest, NestedFoldersAreEntriesAndOnlyTheSamePathIsRefused)
{
    auto c = makeController();
    const QString pictures = folder(QStringLiteral("Pictures"));
    const QString inside = folder(QStringLiteral("Pictures/2024"));
    drop(*c, { pictures });
    const size_t before = alerts.alerts().size();
    drop(*c, { pictures, inside, root.path(), root.filePath(QStringLiteral("Pictures/../Pictures")) });
    EXPECT_EQ(paths(*c), (QStringList { pictures, inside, root.path() }));
    ASSERT_EQ(alerts.alerts().size(), before + 1);
    EXPECT_EQ(alerts.alerts().back().messageText, text("ID_ITEMS_CANT_ADDED"));
    EXPECT_EQ(lastInformativeText(), text("ID_ITEMS_ALREADY_EXIST_SCANNLIST"));

    const QString upper = folder(QStringLiteral("PICTURES"));
    drop(*c, { upper });
    EXPECT_EQ(paths(*c), (QStringList { pictures, inside, root.path(), upper }));
}

TEST_F(ScanListTest, TrashPackagesAndLibrariesFollowTheirRules)
{
    auto c = makeController();
    const QString trashed = Trash::homeTrashFolder() + QStringLiteral("/files/old");
    QDir().mkpath(trashed);
    drop(*c, { trashed });
    EXPECT_TRUE(c->arrPathNodes.empty());

    const QString bundle = folder(QStringLiteral("Tool.app"));
    drop(*c, { bundle });
    EXPECT_TRUE(c->arrPathNodes.empty());
    EXPECT_EQ(lastInformativeText(), localizedString(QStringLiteral("ID_PHOTOS_LIBRARY_NOT_SUPPORTED")));

    const QString first = library(QStringLiteral("One.photoslibrary"));
    const QString second = library(QStringLiteral("Two.photoslibrary"));
    drop(*c, { first });
    ASSERT_EQ(c->arrPathNodes.size(), 1u);
    EXPECT_EQ(c->arrPathNodes[0].nodeType, NodeType::nodeTypePhotos);
    drop(*c, { second });
    EXPECT_EQ(c->arrPathNodes.size(), 1u);
    EXPECT_EQ(lastInformativeText(), text("ID_ONLY_ONE_LIB_CAN_ADDED"));
}

TEST_F(ScanListTest, VideosDropOnlyInExactModeWithVideosAllowed)
{
    auto c = makeController();
    const QString clip = file(QStringLiteral("clips/Holiday.MP4"));
    drop(*c, { clip });
    EXPECT_TRUE(c->arrPathNodes.empty());
    c->selectComparisonMethod(c->btnExactMatch.data());
    drop(*c, { clip });
    EXPECT_EQ(paths(*c), QStringList { clip });
}

TEST_F(ScanListTest, DropWhileACloudSourceIsShownIsRefused)
{
    auto c = makeController();
    ScanGlobals::scanType = ScanSource::dropbox;
    drop(*c, { folder(QStringLiteral("Pictures")) });
    EXPECT_TRUE(c->arrPathNodes.empty());
    ASSERT_FALSE(alerts.alerts().empty());
    EXPECT_EQ(alerts.alerts().back().messageText, text("ID_YOU_CANT_DRAG_ANY_FILE"));
    EXPECT_TRUE(lastInformativeText().contains(text("ID_DROPBOX")));
}

TEST_F(ScanListTest, ExcludedFolderLeadsToTheExclusionPrompt)
{
    const QString pictures = folder(QStringLiteral("Pictures"));
    UserDefaults::standard().setObject(QStringLiteral("excludedFolders"), QVariantList { pictures });
    auto c = makeController();
    drop(*c, { pictures });
    EXPECT_TRUE(c->arrPathNodes.empty());
    ASSERT_FALSE(alerts.alerts().empty());
    EXPECT_EQ(alerts.alerts().back().buttons.size(), 2);
}

TEST_F(ScanListTest, TickingDrivesTheScanButton)
{
    auto c = makeController();
    drop(*c, { folder(QStringLiteral("A")), folder(QStringLiteral("B")) });
    ScanListController &list = c->scanList();
    list.btnCheckUnCheckTapped(0, false);
    EXPECT_TRUE(c->btnCompare->isEnabled());
    list.btnCheckUnCheckTapped(1, false);
    EXPECT_FALSE(c->btnCompare->isEnabled());
    EXPECT_EQ(c->btnCompare->state(), IMGButton::OffState);
    list.btnCheckUnCheckTapped(1, true);
    EXPECT_TRUE(c->btnCompare->isEnabled());
    c->uncheckAllInScanList();
    EXPECT_FALSE(c->btnCompare->isEnabled());
    c->checkAllInScanList();
    EXPECT_TRUE(c->btnCompare->isEnabled());
    EXPECT_EQ(c->arrPathNodes[0].state, 1);
}

TEST_F(ScanListTest, TheCurrentRowOutlivesTicksAndRemovals)
{
    auto c = makeController();
    drop(*c, { folder(QStringLiteral("A")), folder(QStringLiteral("B")), folder(QStringLiteral("C")) });
    CustomTableView *list = c->tvPath;
    list->setCurrentIndex(list->model()->index(0, 0));
    for (const Qt::Key key : { Qt::Key_Space, Qt::Key_Space, Qt::Key_Down, Qt::Key_Space })
        QTest::keyClick(list, key), settle();
    EXPECT_EQ(std::pair(c->arrPathNodes[0].state, c->arrPathNodes[1].state), std::pair(1, 0));
    EXPECT_EQ(list->currentIndex().row(), 1);
    for (const Qt::Key key : { Qt::Key_Down, Qt::Key_Delete })
        QTest::keyClick(list, key), settle();
    EXPECT_EQ(c->arrPathNodes.size(), 2u);
    EXPECT_EQ(list->currentIndex().row(), 1); // the last row when the current one went
}

TEST_F(ScanListTest, RemovingKeepsTheScanButtonInStepWithTheTicks)
{
    auto c = makeController();
    const QString a = folder(QStringLiteral("A"));
    drop(*c, { a, folder(QStringLiteral("B")) });
    c->scanList().btnCheckUnCheckTapped(1, false);
    c->scanList().removeScanListEntry(0);
    EXPECT_FALSE(c->btnCompare->isEnabled());
    EXPECT_FALSE(c->dictPathAdded.contains(ScanListRules::pathKey(a)));
    drop(*c, { a });
    EXPECT_EQ(c->arrPathNodes.size(), 2u);
    c->removeAllFromScanList();
    settle();
    EXPECT_TRUE(c->arrPathNodes.empty());
    EXPECT_FALSE(c->btnCompare->isEnabled());
    EXPECT_TRUE(c->tvPath->toolTip().isEmpty());
    const QVariant saved = UserDefaults::standard().objectForKey(QStringLiteral("savedPaths"));
    EXPECT_EQ(saved.typeId(), QMetaType::QVariantList);
    EXPECT_TRUE(saved.toList().isEmpty());
}

TEST_F(ScanListTest, RevealShowsTheEntryItselfNotOnlyItsFolder)
{
    auto c = makeController();
    const QString photo = file(QStringLiteral("A/photo.jpg"));
    drop(*c, { photo });
    QList<QUrl> shown;
    c->scanList().revealUrl = [&shown](const QUrl &url) { shown.append(url); };
    c->scanList().revealInFinder(0);
    EXPECT_EQ(shown, QList<QUrl> { QUrl::fromLocalFile(photo) });
}

// An entry whose drive is away at launch stays listed and saved, greyed with the reason, and ticked
// as it was; one that cannot be read at launch stays too.
TEST_F(ScanListTest, ListSurvivesARestartAndKeepsAnAbsentEntryShownUnavailable)
{
    const QString a = folder(QStringLiteral("A"));
    const QString gone = folder(QStringLiteral("Gone"));
    const QString photo = file(QStringLiteral("c.jpg"));
    const QString goneInner = folder(QStringLiteral("Gone/inner"));
    const QString locked = folder(QStringLiteral("Locked"));
    {
        auto c = makeController();
        drop(*c, { a, gone, photo, goneInner, locked });
        c->scanList().btnCheckUnCheckTapped(0, false);
        c->scanList().btnCheckUnCheckTapped(2, false);
    }
    QDir(gone).removeRecursively();
    QFile::setPermissions(locked, {});
    auto c = makeController();
    looked(*c);
    // The folder inside the absent one is kept as well, each greyed on its own row.
    EXPECT_EQ(paths(*c), (QStringList { a, gone, photo, goneInner, locked }));
    EXPECT_EQ(c->arrPathNodes[0].state, 0);
    EXPECT_EQ(c->arrPathNodes[2].nodeType, NodeType::nodeTypefile);
    EXPECT_EQ(ScanListController::loadSavedPaths().size(), 5);
    for (const int row : { 1, 3 }) {
        EXPECT_TRUE(isGreyed(*c, row)) << row;
        EXPECT_TRUE(toolTipOf(*c, row).contains(text("ID_SCAN_LIST_ENTRY_UNAVAILABLE")));
    }
}

// A photo of the list gone from a folder that is there (moved to the Trash, moved away) leaves the
// list, and the saved list, at the next start; a photo whose folder is away and a folder that is
// gone stay, greyed, as an unplugged drive's would.
TEST_F(ScanListTest, APhotoGoneFromItsFolderLeavesTheListAtTheNextStart)
{
    const QString trashed = file("A/trashed.jpg"), moved = file("A/moved.PNG"), away = file("Away/p.jpg"),
                  gone = folder("Gone"), kept = file("A/kept.png");
    {
        auto c = makeController();
        drop(*c, { trashed, moved, away, gone, kept });
        ASSERT_EQ(c->arrPathNodes.size(), 5u);
    }
    ASSERT_TRUE(Trash::moveToTrash(trashed));
    ASSERT_TRUE(QFile::rename(moved, root.filePath("elsewhere.png")));
    ASSERT_TRUE(QDir(root.filePath("Away")).removeRecursively() && QDir(gone).removeRecursively());
    auto c = makeController();
    looked(*c);
    EXPECT_EQ(rowsShown(*c), QStringList({ away + " greyed", gone + " greyed", kept }).join('\n'));
    EXPECT_EQ(ScanListController::loadSavedPaths().size(), 3);
}

TEST_F(ScanListTest, OpenPanelAddsWhatWasChosen)
{
    ScriptedOpenPanel panel;
    auto c = makeController();
    const QString photo = file(QStringLiteral("p/a.jpg"));
    const QString pictures = folder(QStringLiteral("Pictures"));
    panel.queueCancel();
    c->btnAddPhotos->click();
    EXPECT_TRUE(c->arrPathNodes.empty());
    panel.queueChoice({ photo });
    c->btnAddPhotos->click();
    panel.queueChoice({ pictures, file(QStringLiteral("q/b.png")), file(QStringLiteral("q/c.txt")) });
    c->btnAddFolder->click();
    addsLooked(*c);
    ASSERT_EQ(c->arrPathNodes.size(), 3u);
    EXPECT_EQ(c->arrPathNodes[0].nodeType, NodeType::nodeTypefile);
    EXPECT_EQ(c->arrPathNodes[1].nodeType, NodeType::nodeTypefolder);
    EXPECT_EQ(c->arrPathNodes[2].nodeType, NodeType::nodeTypefile);
    ASSERT_EQ(panel.panelsShown().size(), 3u);
    const OpenPanelOptions &folders = panel.panelsShown().back();
    EXPECT_TRUE(folders.canChooseDirectories);
    EXPECT_FALSE(folders.shouldEnable(QFileInfo(photo)));
    EXPECT_TRUE(folders.shouldEnable(QFileInfo(pictures)));
    EXPECT_TRUE(panel.panelsShown()[1].shouldEnable(QFileInfo(photo)));
    EXPECT_FALSE(panel.panelsShown()[1].shouldEnable(QFileInfo(folder(QStringLiteral("L.photoslibrary")))));
}

// An entry added to a list longer than its view, dropped or chosen in the panel, becomes the
// current row and is scrolled into view.
TEST_F(ScanListTest, AnEntryAddedToAFullListIsShown)
{
    ScriptedOpenPanel panel;
    const std::function<void(MainViewController &)> ways[] = {
        [this](MainViewController &c) { drop(c, { folder(QStringLiteral("dropped")) }); },
        [&, this](MainViewController &c) {
            panel.queueChoice({ library(QStringLiteral("Mine.photoslibrary")) });
            c.btnAddPhotosLib->click();
            settle();
        },
    };
    for (const auto &add : ways) {
        auto c = makeController();
        c->view()->show();
        QStringList many;
        for (int i = 0; i < 40; ++i)
            many << folder(QStringLiteral("f%1").arg(i));
        c->removeAllFromScanList();
        drop(*c, many);
        CustomTableView *list = c->tvPath;
        list->setCurrentIndex(list->model()->index(0, 0));
        list->scrollToTop();
        add(*c);
        const int last = list->model()->rowCount() - 1;
        ASSERT_EQ(last, many.size());
        EXPECT_EQ(list->currentIndex().row(), last);
        EXPECT_TRUE(list->viewport()->rect().contains(list->visualRect(list->model()->index(last, 0))));
    }
}

// A library chosen is listed at once, unsaved until looked at. A folder that is no library, removed
// before its look answers, takes no late answer, nor does the library chosen after it.
TEST_F(ScanListTest, AChosenLibraryIsListedAtOnceAndALateAnswerTouchesNothing)
{
    ScriptedOpenPanel panel;
    auto c = makeController();
    const QString plain = folder(QStringLiteral("Plain")),
                  mine = library(QStringLiteral("Mine.photoslibrary"));
    panel.queueChoice({ plain });
    c->btnAddPhotosLib->click();
    EXPECT_EQ(paths(*c), QStringList { plain });
    EXPECT_TRUE(ScanListController::loadSavedPaths().isEmpty());
    c->scanList().removeScanListEntry(0);
    panel.queueChoice({ mine });
    c->btnAddPhotosLib->click();
    addsLooked(*c);
    EXPECT_EQ(paths(*c), QStringList { mine });
    EXPECT_TRUE(alerts.alerts().empty());
    EXPECT_EQ(ScanListController::loadSavedPaths().size(), 1);
}

TEST_F(ScanListTest, SecondLibraryIsRefusedBeforeThePanelOpens)
{
    ScriptedOpenPanel panel;
    auto c = makeController();
    panel.queueChoice({ library(QStringLiteral("Mine.photoslibrary")) });
    c->btnAddPhotosLib->click();
    ASSERT_EQ(c->arrPathNodes.size(), 1u);
    // The panel says what to choose.
    EXPECT_EQ(panel.panelsShown().front().message, text("ID_CHOOSE_PHOTO_LIBRARY_FOLDER"));
    c->btnAddPhotosLib->click();
    EXPECT_EQ(panel.panelsShown().size(), 1u);
    EXPECT_EQ(alerts.alerts().back().messageText, text("ID_ONLY_ONE_LIB_CAN_ADDED"));
    EXPECT_FALSE(ScanListRules::isPathEnabledInOpenPanel(
        NodeType::nodeTypePhotos, QFileInfo(folder(QStringLiteral("Old.migratedphotolibrary"))), {}));
}

// A drop through the drop box: what it adds, and its report. Items named with a suffix are files,
// without one (or as applications) folders; "listed" items are dropped once beforehand. In the
// report, "{KEY}" stands for the text of "ID_KEY"; no report is expected when it is empty.
struct BoxDropCase {
    const char *name;
    QStringList listed, dropped, added;
    QString report;
};

// Items made by name: "X.photoslibrary" is a library ("Empty…" one without its database),
// suffixless names (and applications) are folders, others files.
class ScanListItemsTest : public ScanListTest
{
protected:
    QStringList items(const QStringList &names)
    {
        QStringList list;
        for (const QString &name : names) {
            const QString suffix = QFileInfo(name).suffix();
            const bool library = suffix == QLatin1String("photoslibrary");
            list.append(library && !name.startsWith(QLatin1String("Empty")) ? this->library(name)
                    : library || suffix.isEmpty() || suffix == QLatin1String("app")
                        || suffix == QLatin1String("migratedphotolibrary")
                    ? folder(name)
                    : file(name));
        }
        return list;
    }
    static QString expanded(QString report)
    {
        static const QRegularExpression key(QStringLiteral("\\{(\\w+)\\}"));
        for (QRegularExpressionMatch m = key.match(report); m.hasMatch(); m = key.match(report))
            report.replace(
                m.capturedStart(), m.capturedLength(), text(QStringLiteral("ID_") + m.captured(1)));
        return report.replace(QStringLiteral("%d"), QStringLiteral("2"));
    }
};

class ScanListBoxDropTest : public ScanListItemsTest, public ::testing::WithParamInterface<BoxDropCase>
{
};

TEST_P(ScanListBoxDropTest, AddsWhatItCanAndNamesTheRest)
{
    const BoxDropCase &t = GetParam();
    auto c = makeController();
    if (!t.listed.isEmpty())
        dropOnBox(*c, items(t.listed));
    const size_t before = alerts.alerts().size();
    dropOnBox(*c, items(t.dropped));
    EXPECT_EQ(paths(*c), items(t.listed + t.added));
    ASSERT_EQ(alerts.alerts().size(), before + (t.report.isEmpty() ? 0 : 1));
    if (!t.report.isEmpty()) {
        EXPECT_EQ(lastInformativeText(), expanded(t.report));
    }
}

const QString kNotPhotos = QStringLiteral("{ITEMS_NOT_PHOTOS_OR_UNREADABLE}\n");
const BoxDropCase kBoxDrops[] = {
    { "TextFileAlone", {}, { "t.txt" }, {}, kNotPhotos + "“t.txt”" },
    { "LibraryWithText", {}, { "P.photoslibrary", "t.txt" }, { "P.photoslibrary" }, kNotPhotos + "“t.txt”" },
    { "LibraryWithoutDatabaseWithText", {}, { "Old.migratedphotolibrary", "t.txt" }, {},
        "{PHOTOS_LIBRARY_NOT_SUPPORTED}\n\n" + kNotPhotos + "“t.txt”" },
    { "PhotosAndFolderOnly", {}, { "Pictures", "a.jpg", "B.JPEG" }, { "Pictures", "a.jpg", "B.JPEG" }, {} },
    { "ListedFolderAndText", { "Pictures" }, { "Pictures", "t.txt" }, {},
        "{ITEMS_ALREADY_EXIST_SCANNLIST}\n\n" + kNotPhotos + "“t.txt”" },
    { "ApplicationWithPhoto", {}, { "a.jpg", "Tool.app" }, { "a.jpg" }, kNotPhotos + "“Tool.app”" },
    { "ApplicationWithText", {}, { "Tool.app", "t.txt" }, {},
        "{PHOTOS_LIBRARY_NOT_SUPPORTED}\n\n" + kNotPhotos + "“t.txt”" },
    { "SecondLibraryWithText", { "P.photoslibrary" }, { "Q.photoslibrary", "t.txt" }, {},
        "{ONLY_ONE_LIB_CAN_ADDED}\n\n" + kNotPhotos + "“t.txt”" },
    { "FiveTextFiles", {}, { "a.txt", "b.pdf", "c.doc", "d.md", "e.zip" }, {},
        kNotPhotos + "“a.txt”, “b.pdf”, “c.doc” {MORE_ITEMS_NOT_ADDED}" },
    { "EmptyPackageThenLibrary", {}, { "Empty.photoslibrary", "Real.photoslibrary" },
        { "Real.photoslibrary" }, kNotPhotos + "“Empty.photoslibrary”" },
    { "LibraryThenEmptyPackage", {}, { "Real.photoslibrary", "Empty.photoslibrary" },
        { "Real.photoslibrary" }, kNotPhotos + "“Empty.photoslibrary”" },
};

INSTANTIATE_TEST_SUITE_P(Drops, ScanListBoxDropTest, ::testing::ValuesIn(kBoxDrops),
    [](const ::testing::TestParamInfo<BoxDropCase> &info) { return std::string(info.param.name); });

// Drops one after another whose looks are held and answered in the order `answered` gives: they are
// taken in the order dropped, a library still looked at counting as the one listed. `reports`: the
// report of each drop that has one, in order, written as in BoxDropCase.
struct HeldDropsCase {
    const char *name;
    std::vector<QStringList> drops;
    std::vector<size_t> answered;
    QStringList listed, reports;
};

class ScanListHeldDropsTest : public ScanListItemsTest, public ::testing::WithParamInterface<HeldDropsCase>
{
};

TEST_P(ScanListHeldDropsTest, DropsAreTakenInTheirOrderWhicheverAnswersFirst)
{
    const HeldDropsCase &t = GetParam();
    auto c = makeController();
    std::vector<std::pair<ScanListLook::Request, ScanListController::OfferedDone>> held;
    c->scanList().lookAtOffer
        = [&held](const ScanListLook::Request &request, ScanListController::OfferedDone done) {
              held.emplace_back(request, done);
          };
    for (const QStringList &names : t.drops)
        sendDrop(*c, items(names));
    ASSERT_EQ(held.size(), t.drops.size());
    for (const size_t i : t.answered)
        held[i].second(ScanListLook::lookAtOffered(held[i].first));
    settle();
    EXPECT_FALSE(c->scanList().isLookingAtAdds());
    EXPECT_EQ(paths(*c), items(t.listed));
    QStringList reports;
    for (const AlertSpec &alert : alerts.alerts())
        reports.append(alert.informativeText);
    QStringList expected;
    for (const QString &report : t.reports)
        expected.append(expanded(report));
    EXPECT_EQ(reports, expected);
}

const HeldDropsCase kHeldDrops[] = {
    { "EmptyPackageThenLibrary", { { "Empty.photoslibrary" }, { "Real.photoslibrary" } }, { 1, 0 },
        { "Real.photoslibrary" }, { "{PHOTOS_LIBRARY_NOT_SUPPORTED}" } },
    { "LibraryThenEmptyPackage", { { "Real.photoslibrary" }, { "Empty.photoslibrary" } }, { 1, 0 },
        { "Real.photoslibrary" }, { "{PHOTOS_LIBRARY_NOT_SUPPORTED}" } },
    { "TwoLibraries", { { "Real.photoslibrary" }, { "Other.photoslibrary", "Pictures" } }, { 1, 0 },
        { "Real.photoslibrary", "Pictures" }, { "{ONLY_ONE_LIB_CAN_ADDED}" } },
    { "BothInOneDropThenAnother",
        { { "Empty.photoslibrary", "Real.photoslibrary" }, { "Other.photoslibrary" } }, { 1, 0 },
        { "Real.photoslibrary" }, { kNotPhotos + "“Empty.photoslibrary”", "{ONLY_ONE_LIB_CAN_ADDED}" } },
};

INSTANTIATE_TEST_SUITE_P(Drops, ScanListHeldDropsTest, ::testing::ValuesIn(kHeldDrops),
    [](const ::testing::TestParamInfo<HeldDropsCase> &info) { return std::string(info.param.name); });

} // namespace

namespace
{

QVariantMap savedEntry(const QString &path)
{
    return { { QStringLiteral("path"), path.toUtf8() }, { QStringLiteral("state"), qlonglong(1) } };
}

} // namespace

// A saved list of more than a thousand folders comes back whole, nested entries included (a folder
// inside a listed folder, a file inside one, a folder holding a listed file); only a second copy of
// the same path is dropped.
TEST_F(ScanListTest, ALongSavedListIsRestoredWhole)
{
    QVariantList saved;
    QStringList expected;
    for (int i = 0; i < 1200; ++i) {
        const QString top = folder(QStringLiteral("f%1").arg(i));
        saved << savedEntry(top);
        expected << top;
        if (i % 10 == 0) {
            saved << savedEntry(folder(QStringLiteral("f%1/inner").arg(i)));
            expected << root.filePath(QStringLiteral("f%1/inner").arg(i));
        }
    }
    const QStringList nested { file(QStringLiteral("loose/deep/a.jpg")),
        root.filePath(QStringLiteral("loose")), file(QStringLiteral("f7/b.jpg")),
        root.filePath(QStringLiteral("loose/deep")), file(QStringLiteral("loose/c.jpg")) };
    for (const QString &path : nested)
        saved << savedEntry(path);
    saved << savedEntry(root.filePath(QStringLiteral("f3")));
    expected << nested;
    UserDefaults::standard().setObject(QStringLiteral("savedPaths"), saved);
    auto c = makeController();
    looked(*c);
    EXPECT_EQ(paths(*c), expected);
    EXPECT_TRUE(c->btnCompare->isEnabled());
}

// Saved entries that leave once looked at, between ones that stay: each row, kept as the rows after
// it move up, shows its own entry, greyed only when it is absent.
TEST_F(ScanListTest, RestoredRowsShowTheirOwnEntriesAfterOthersLeave)
{
    const QString a = folder(QStringLiteral("A")), b = folder(QStringLiteral("B")), d = folder("D");
    const QString trashed = Trash::homeTrashFolder() + QStringLiteral("/files/old");
    QDir().mkpath(trashed);
    const QString toA = root.filePath("toA"), dangling = root.filePath("x");
    QFile::link(a, toA);
    QFile::link(root.filePath("nowhere"), dangling);
    const QString photo = file("c.jpg"), gone = root.filePath("Gone"), lib = library("L.photoslibrary");
    QVariantList saved;
    for (const QString &path : { a, trashed, toA, gone, b, photo, folder("Tool.app"), lib, dangling, d })
        saved << savedEntry(path);
    UserDefaults::standard().setObject(QStringLiteral("savedPaths"), saved);
    auto c = makeController();
    looked(*c);
    EXPECT_EQ(rowsShown(*c),
        QStringList({ a, gone + " greyed", b, photo, lib, dangling + " greyed", d }).join('\n'));
    c->scanList().removeScanListEntry(1);
    settle();
    EXPECT_EQ(rowsShown(*c), QStringList({ a, b, photo, lib, dangling + " greyed", d }).join('\n'));
}

// Saved entries on a share that never answers, a link on this disk onto it first: the window comes at
// once, names the share (not this disk) for both and looks at the local folder after them (the test
// below, run beside such a share in a process of its own).
TEST(DeadShareListTest, TheWindowAppearsBesideASilentShare)
{
    DeadMount::expectPassesBeside("ScanListTest.ASavedFolderOnASilentShareDoesNotHoldTheWindow");
}

TEST_F(ScanListTest, ASavedFolderOnASilentShareDoesNotHoldTheWindow)
{
    QNY_SKIP_UNLESS_BESIDE_A_SILENT_SHARE();
    const QString share = DeadMount::silentShare();
    const QString link = root.filePath(QStringLiteral("onShare")), local = folder(QStringLiteral("photos"));
    ASSERT_TRUE(QFile::link(share + "/linked", link));
    UserDefaults::standard().setObject(QStringLiteral("savedPaths"),
        QVariantList { savedEntry(link), savedEntry(share + "/photos"), savedEntry(local) });
    auto c = makeController();
    EXPECT_EQ(paths(*c), (QStringList { link, share + "/photos", local }));
    looked(*c);
    for (const int row : { 0, 1 }) {
        EXPECT_TRUE(isGreyed(*c, row));
        EXPECT_TRUE(toolTipOf(*c, row).contains(text("ID_SCAN_LIST_ENTRY_NOT_ANSWERING")));
    }
    EXPECT_FALSE(isGreyed(*c, 2));
    const QStringList waiting = DeadMount::threadsWaiting();
    EXPECT_EQ(waiting.size(), 1);
    c->scanList().removeScanListEntry(0);
    c->scanList().removeScanListEntry(0);
    settle();
    EXPECT_EQ(paths(*c), QStringList { local });
    EXPECT_EQ(ScanListController::loadSavedPaths().size(), 1);
    EXPECT_TRUE(DeadMount::endServerAndWait(waiting, 30000));
}

// A library chosen on the silent share: the window answers while it is looked at, and it stays,
// shown as not answering (the test below).
TEST(DeadShareListTest, ALibraryOnASilentShareLeavesTheWindowAnswering)
{
    DeadMount::expectPassesBeside("ScanListTest.ALibraryOnASilentShareStaysNotAnswering");
}

TEST_F(ScanListTest, ALibraryOnASilentShareStaysNotAnswering)
{
    QNY_SKIP_UNLESS_BESIDE_A_SILENT_SHARE();
    ScriptedOpenPanel panel;
    auto c = makeController();
    const QString library = DeadMount::silentShare() + QStringLiteral("/Mine.photoslibrary");
    panel.queueChoice({ library });
    c->btnAddPhotosLib->click();
    // Listed before anything waited on the share.
    EXPECT_EQ(paths(*c), QStringList { library });
    addsLooked(*c);
    expectAllNotAnswering(*c);
}

// A folder dropped, a folder chosen in Add Folder and a photo chosen in Add Photos, all on the silent
// share: each is listed at once, before anything waits on the share, and stays, shown as not
// answering (the test below).
TEST(DeadShareListTest, AddsOnASilentShareLeaveTheWindowAnswering)
{
    DeadMount::expectPassesBeside("ScanListTest.AddsOnASilentShareStayNotAnswering");
}

TEST_F(ScanListTest, AddsOnASilentShareStayNotAnswering)
{
    QNY_SKIP_UNLESS_BESIDE_A_SILENT_SHARE();
    ScriptedOpenPanel panel;
    auto c = makeController();
    const QString share = DeadMount::silentShare();
    const QStringList added { share + "/dropped", share + "/chosen", share + "/photo.jpg" };
    const std::function<void()> ways[] = {
        [&] { sendDrop(*c, { added[0] }); },
        [&] { panel.queueChoice({ added[1] }), c->btnAddFolder->click(); },
        [&] { panel.queueChoice({ added[2] }), c->btnAddPhotos->click(); },
    };
    for (qsizetype i = 0; i < added.size(); ++i) {
        ways[i]();
        EXPECT_EQ(paths(*c), added.mid(0, i + 1));
        addsLooked(*c);
    }
    expectAllNotAnswering(*c);
}

namespace
{

// Where a part of a row lies in the list's viewport.
QPoint pointOf(const MainViewController &c, int row, ScanListDelegate::Part part)
{
    const QRect rect = c.tvPath->visualRect(c.tvPath->model()->index(row, 0));
    return part == ScanListDelegate::Part::None ? rect.center()
                                                : ScanListDelegate::partRect(rect, part, c.tvPath).center();
}

} // namespace

// A list of thousands of saved folders, scrolled through, holds no widget of a row: the rows are
// drawn, whatever their number.
TEST_F(ScanListTest, ALongListHoldsNoWidgetForItsRows)
{
    QVariantList saved;
    for (int i = 0; i < 3000; ++i)
        saved << savedEntry(root.filePath(QStringLiteral("f%1").arg(i)));
    UserDefaults::standard().setObject(QStringLiteral("savedPaths"), saved);
    auto c = makeController();
    c->view()->show();
    looked(*c);
    for (int step = 0; step < 20; ++step)
        c->tvPath->verticalScrollBar()->setValue(c->tvPath->verticalScrollBar()->maximum() * step / 19),
            settle();
    EXPECT_EQ(c->tvPath->model()->rowCount(), 3000);
    EXPECT_LT(c->tvPath->viewport()->findChildren<QWidget *>().size(), 10);
    EXPECT_EQ(rowAt(*c, 2999).data().toString(), root.filePath(QStringLiteral("f2999")));
}

// A click on a row's box ticks it, on its delete button removes it, anywhere on it makes it the current
// row; a right click on it reaches the list's menu.
TEST_F(ScanListTest, EachRowAnswersTheMouseAsItsBoxAndButtonDid)
{
    using Part = ScanListDelegate::Part;
    auto c = makeController();
    c->view()->show();
    const QString a = folder("A"), b = folder("B"), d = folder("D");
    drop(*c, { a, b, d });
    const struct {
        Qt::MouseButton button;
        int row;
        Part part;
        QStringList states; // path, "-" when unticked
        int current;
    } clicks[] = {
        { Qt::LeftButton, 1, Part::Box, { a, b + "-", d }, 1 },
        { Qt::LeftButton, 1, Part::Box, { a, b, d }, 1 },
        { Qt::LeftButton, 2, Part::None, { a, b, d }, 2 },
        { Qt::LeftButton, 0, Part::Delete, { b, d }, 0 },
        { Qt::RightButton, 1, Part::None, { b, d }, 0 },
    };
    for (const auto &click : clicks) {
        QTest::mouseClick(c->tvPath->viewport(), click.button, {}, pointOf(*c, click.row, click.part));
        settle();
        QStringList states;
        for (const FilePathNode &node : c->arrPathNodes)
            states << *node.filePath + (node.state == 1 ? "" : "-");
        EXPECT_EQ(states, click.states) << click.row;
        EXPECT_EQ(c->tvPath->currentIndex().row(), click.current) << click.row;
        EXPECT_EQ(ScanListController::loadSavedPaths().size(), click.states.size());
    }
    EXPECT_EQ(c->tvPath->clickedRow(), 1);
}
