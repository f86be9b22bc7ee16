// Which entries an open panel lets the user choose, in the dialog and in the scripted panel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QListView>
#include <QTemporaryDir>

#include "platform/ui/GuiOpenPanel.h"
#include "platform/ui/PanelFileDialog.h"
#include "platform/ui/PanelFilterModel.h"
#include "platform/ui/ScriptedOpenPanel.h"
#include "support/DeadMount.h"
#include "support/TestEvents.h"

namespace
{

struct Tree {
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }
    Tree()
    {
        QDir root(dir.path());
        root.mkpath(QStringLiteral("folder"));
        root.mkpath(QStringLiteral("Lib.photoslibrary/database"));
        root.mkpath(QStringLiteral("Old.migratedphotolibrary"));
        for (const char *name : { "a.JPG", "b.png", "c.txt" }) {
            QFile file(root.filePath(QString::fromLatin1(name)));
            file.open(QIODevice::WriteOnly);
        }
    }
};

OpenPanelOptions filesOf(const QStringList &types)
{
    OpenPanelOptions options;
    options.allowedFileTypes = types;
    options.allowsMultipleSelection = true;
    return options;
}

} // namespace

struct SelectCase {
    const char *name;
    bool files;
    bool dirs;
    bool packagesAsDirs;
    QStringList types;
    bool expected;
};

class OpenPanelSelectable : public ::testing::TestWithParam<SelectCase>
{
};

TEST_P(OpenPanelSelectable, FollowsKindExtensionAndPackageRules)
{
    const Tree tree;
    const SelectCase &c = GetParam();
    OpenPanelOptions options;
    options.canChooseFiles = c.files;
    options.canChooseDirectories = c.dirs;
    options.treatsFilePackagesAsDirectories = c.packagesAsDirs;
    options.allowedFileTypes = c.types;
    EXPECT_EQ(OpenPanel::isSelectable(options, tree.path(QString::fromLatin1(c.name))), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Entries, OpenPanelSelectable,
    ::testing::Values(SelectCase { "a.JPG", true, false, false, { "jpg", "png" }, true },
        SelectCase { "c.txt", true, false, false, { "jpg", "png" }, false },
        SelectCase { "c.txt", true, false, false, {}, true },
        SelectCase { "folder", true, false, false, {}, false },
        SelectCase { "folder", false, true, false, { "jpg" }, true },
        SelectCase { "a.JPG", false, true, false, {}, false },
        // A photo library is one item unless packages open as folders.
        SelectCase { "Lib.photoslibrary", true, false, false, { "photoslibrary", "photolibrary" }, true },
        SelectCase { "Lib.photoslibrary", false, true, false, {}, false },
        SelectCase { "Lib.photoslibrary", false, true, true, {}, true },
        SelectCase { "missing.jpg", true, false, false, {}, false }));

TEST(OpenPanel, FilterCallbackRefusesEntriesAndFoldersItRefusesCannotBeEntered)
{
    const Tree tree;
    OpenPanelOptions options = filesOf({ "jpg", "png" });
    QStringList asked;
    options.shouldEnable = [&](const QFileInfo &entry) {
        asked << entry.absoluteFilePath();
        return entry.suffix() != QLatin1String("png") && entry.suffix() != QLatin1String("migratedphotolibrary");
    };
    EXPECT_TRUE(OpenPanel::isSelectable(options, tree.path("a.JPG")));
    EXPECT_FALSE(OpenPanel::isSelectable(options, tree.path("b.png")));
    EXPECT_TRUE(asked.contains(QFileInfo(tree.path("a.JPG")).absoluteFilePath()));

    PanelFilterModel filter(options);
    EXPECT_TRUE(filter.canEnter(tree.path("folder")));
    EXPECT_FALSE(filter.canEnter(tree.path("Lib.photoslibrary")));
    EXPECT_FALSE(filter.canEnter(tree.path("Old.migratedphotolibrary")));
}

// The list's rows are judged from the look its model already took, so a folder whose share stops
// answering after it was listed holds no repaint (the test below, run beside a silent share in a
// process of its own).
TEST(SilentPanelEntry, RowsOfAFolderThatStoppedAnsweringAreStillJudged)
{
    DeadMount::expectPassesBeside("OpenPanel.RowsAreJudgedFromTheListsLookAfterAShareStopsAnswering");
}

TEST(OpenPanel, RowsAreJudgedFromTheListsLookAfterAShareStopsAnswering)
{
    QNY_SKIP_UNLESS_BESIDE_A_SILENT_SHARE();
    const Tree tree;
    ASSERT_TRUE(QDir(tree.dir.path()).mkpath(QStringLiteral("share")));
    OpenPanelOptions options = filesOf({ "jpg" });
    options.canChooseDirectories = true;
    options.shouldEnable = [](const QFileInfo &entry) { return !entry.fileName().startsWith(QLatin1String("Old")); };
    QFileSystemModel files;
    PanelFilterModel filter(options);
    filter.setSourceModel(&files);
    const QModelIndex root = files.setRootPath(tree.dir.path());
    // Every entry listed, and looked at.
    ASSERT_TRUE(TestEvents::waitFor(
        [&] {
            QCoreApplication::processEvents();
            if (files.rowCount(root) != 7)
                return false;
            for (int row = 0; row < 7; ++row)
                if (files.fileInfo(files.index(row, 0, root)).filePath().isEmpty())
                    return false;
            return true;
        },
        60000));
    ASSERT_TRUE(DeadMount::silence(tree.path("share")));

    const std::pair<const char *, bool> rows[] = { { "share", true }, { "folder", true }, { "a.JPG", true },
        { "b.png", false }, { "c.txt", false },
        // A package is one item: of a type not allowed, it is neither chosen nor entered.
        { "Lib.photoslibrary", false }, { "Old.migratedphotolibrary", false } };
    QHash<QString, bool> enabled;
    const QModelIndex listed = filter.mapFromSource(root);
    for (int row = 0; row < filter.rowCount(listed); ++row) {
        const QModelIndex index = filter.index(row, 0, listed);
        enabled.insert(index.data().toString(), filter.flags(index).testFlag(Qt::ItemIsEnabled));
    }
    for (const auto &[name, expected] : rows) {
        ASSERT_TRUE(enabled.contains(QString::fromLatin1(name))) << name;
        EXPECT_EQ(enabled.value(QString::fromLatin1(name)), expected) << name;
    }
    EXPECT_TRUE(DeadMount::endServerAndWait(DeadMount::threadsWaiting(), 60000));
}

TEST(OpenPanel, DialogAcceptsOnlySelectableChoicesAndEntersFolders)
{
    const Tree tree;
    OpenPanelOptions options = filesOf({ "jpg" });
    options.directory = tree.dir.path();
    PanelFileDialog dialog(options, nullptr);

    dialog.selectFile(tree.path("c.txt"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.chosenPaths().isEmpty());

    dialog.selectFile(tree.path("folder"));
    dialog.accept();
    EXPECT_EQ(QDir(dialog.directory()).absolutePath(), QDir(tree.path("folder")).absolutePath());
    EXPECT_TRUE(dialog.chosenPaths().isEmpty());

    dialog.setDirectory(tree.dir.path());
    dialog.selectFile(tree.path("a.JPG"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenPaths(), QStringList { QFileInfo(tree.path("a.JPG")).absoluteFilePath() });
}

TEST(OpenPanel, DialogIsTitledByItsPurposeAndOffersTheNamedTypesInBothCases)
{
    OpenPanelOptions options = filesOf({ "jpg", "HEIC" });
    options.prompt = QStringLiteral("Add Photos");
    options.fileTypesName = QStringLiteral("Photos");
    PanelFileDialog dialog(options, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Add Photos"));
    EXPECT_EQ(dialog.nameFilters(), QStringList { QStringLiteral("Photos (*.jpg *.JPG *.heic *.HEIC)") });
    options.message = QStringLiteral("Choose");
    options.fileTypesName.clear();
    PanelFileDialog plain(options, nullptr);
    EXPECT_EQ(plain.windowTitle(), QStringLiteral("Choose"));
    EXPECT_FALSE(plain.nameFilters().join(QString()).contains(QStringLiteral("*.jpg")));
    options.canChooseDirectories = true; // a folder dialog has no file filter, whatever it is given
    PanelFileDialog folders(options, nullptr);
    EXPECT_FALSE(folders.nameFilters().join(QString()).contains(QStringLiteral("*.jpg")));
}

TEST(OpenPanel, GuiPanelReportsCancelWhenTheDialogIsRejected)
{
    GuiOpenPanel panel;
    int response = -1;
    panel.beginSheet(OpenPanelOptions {}, nullptr, [&](int r, const QStringList &paths) {
        response = r;
        EXPECT_TRUE(paths.isEmpty());
    });
    auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->reject();
    EXPECT_EQ(response, OpenPanel::Cancel);
}

TEST(OpenPanel, ScriptedPanelAnswersInOrderAndCanApplyTheFilter)
{
    const Tree tree;
    ScriptedOpenPanel scripted;
    EXPECT_EQ(&OpenPanel::current(), &scripted);
    scripted.queueChoice({ tree.path("a.JPG"), tree.path("c.txt") });
    scripted.queueChoice({ tree.path("a.JPG"), tree.path("c.txt") });
    int response = -1;
    QStringList chosen;
    const auto record = [&](int r, const QStringList &paths) {
        response = r;
        chosen = paths;
    };
    OpenPanel::current().beginSheet(filesOf({ "jpg" }), nullptr, record);
    EXPECT_EQ(response, OpenPanel::OK);
    EXPECT_EQ(chosen.size(), 2);
    scripted.setApplyFilter(true);
    OpenPanel::current().beginSheet(filesOf({ "jpg" }), nullptr, record);
    EXPECT_EQ(chosen, QStringList { tree.path("a.JPG") });
    OpenPanel::current().beginSheet(filesOf({ "jpg" }), nullptr, record);
    EXPECT_EQ(response, OpenPanel::Cancel);
    EXPECT_EQ(scripted.panelsShown().size(), 3u);
}
