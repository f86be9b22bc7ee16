// The General pane's bound switches, buttons and reset, and the Exclusions pane's list editing.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "app/LocalizedString.h"
#include "app/SettingsDefaults.h"
#include "platform/AppFolders.h"
#include "controls/CommonFuncUi.h"
#include "platform/PropertyList.h"
#include "platform/Trash.h"
#include "platform/UserDefaults.h"
#include "platform/ui/ScriptedAlertPresenter.h"
#include "platform/ui/ScriptedOpenPanel.h"
#include "preferences/ui/ExcludeViewController.h"
#include "preferences/ui/GeneralViewController.h"

namespace
{

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

class PaneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UserDefaults::standard().resetAll();
        SettingsDefaults::registerDefaultSettings();
    }
    void TearDown() override
    {
        Localization::setPreferredLanguagesOverride({});
        Localization::setTableFolderOverride(QString());
        Localization::reset();
    }
    QStringList storedExclusions() const
    {
        QStringList folders;
        for (const QVariant &folder : UserDefaults::standard().arrayForKey("excludedFolders"))
            folders.append(folder.toString());
        return folders;
    }

    ScriptedAlertPresenter alerts;
    ScriptedOpenPanel panel;
};

TEST_F(PaneTest, CheckBoxesStoreTheirKeysAndFollowAReset)
{
    GeneralViewController general;
    general.view();
    const std::pair<QCheckBox *, const char *> boxes[] = {
        { general.btnCheckScanVideoInExactScan, "allowVideoScanning" },
        { general.btnCheckShowDeleteDialog, "doNotShowConfirmationDialogOnTrash" },
        { general.btnCheckShowDialogOnMovingBack, "doNotShowConfirmationDialogOnReturnToMainView" },
        { general.btnCheckShowAutoMarkDialog, "doNotShowAutoMarkDialog" },
        { general.btnCheckScanPhotosLibrary, "includePhotosLibInFolder" },
    };
    for (const auto &[box, key] : boxes) {
        const bool before = UserDefaults::standard().boolForKey(key);
        EXPECT_EQ(box->isChecked(), before) << key;
        box->click();
        EXPECT_EQ(UserDefaults::standard().objectForKey(key), QVariant(!before)) << key;
    }
    general.btnResetDefault->click();
    for (const auto &[box, key] : boxes)
        EXPECT_EQ(box->isChecked(), QString(key) == "allowVideoScanning") << key;
}

TEST_F(PaneTest, ResetReloadsAnOpenExclusionsPane)
{
    ExcludeViewController exclude;
    exclude.view();
    UserDefaults::standard().setObject("excludedFolders", QVariantList { "/mine" });
    exclude.resetFromDefaults();
    settle();
    ASSERT_EQ(exclude.tvExclude->rowCount(), 1);

    GeneralViewController general;
    general.view();
    general.btnResetDefault->click();
    EXPECT_EQ(exclude.arrExclude, SettingsDefaults::defaultExcludedFolders());
    settle();
    EXPECT_EQ(exclude.tvExclude->rowCount(), SettingsDefaults::defaultExcludedFolders().size());
}

TEST_F(PaneTest, ActionButtonsHugTheRightEdgeAndFinnishWidensClearCacheLeftwards)
{
    const auto layOut = [](GeneralViewController &pane) {
        pane.view()->resize(GeneralViewController::kViewWidth, GeneralViewController::kViewHeight);
        pane.view()->show();
        settle();
    };
    GeneralViewController english;
    layOut(english);
    const QRect reset = english.btnResetDefault->geometry();
    EXPECT_EQ(
        reset.width(), static_cast<int>(CommonFuncUi::fittingWidth(english.btnResetDefault.data())) + 50);
    EXPECT_EQ(reset.right() + 1, GeneralViewController::kViewWidth - 20);
    EXPECT_EQ(english.btnClearCache->geometry().right() + 1 + 8, reset.left()) << "the two buttons stand apart";

    QTemporaryDir tables;
    const auto englishTable = PropertyList::readFile(AppFolders::resourcePath("strings/QNY_en.plist"));
    ASSERT_TRUE(englishTable && PropertyList::writeFile(tables.filePath("QNY_fi.plist"), *englishTable));
    Localization::setTableFolderOverride(tables.path());
    Localization::setPreferredLanguagesOverride({ "fi-FI" });
    Localization::reset();
    GeneralViewController finnish;
    layOut(finnish);
    EXPECT_EQ(finnish.btnClearCache->width(), english.btnClearCache->width() + 10);
    EXPECT_EQ(finnish.btnClearCache->geometry().right(), english.btnClearCache->geometry().right());
}

TEST_F(PaneTest, AddingStoresAcceptedFoldersAfterTheOneAlert)
{
    QTemporaryDir root;
    QDir(root.path()).mkpath("Photos/Trip");
    QDir(root.path()).mkpath("Other");
    ExcludeViewController exclude;
    exclude.setScanListProvider([&] { return QStringList { root.filePath("Photos") }; });
    exclude.view();
    const QStringList before = exclude.arrExclude;

    panel.queueCancel();
    exclude.btnAdd->click();
    panel.queueChoice({});
    exclude.btnAdd->click();
    EXPECT_FALSE(UserDefaults::standard().hasUserValue("excludedFolders"));
    EXPECT_TRUE(alerts.alerts().empty());
    const OpenPanelOptions &options = panel.panelsShown().front();
    EXPECT_TRUE(!options.canChooseFiles && options.canChooseDirectories && options.allowsMultipleSelection
        && options.treatsFilePackagesAsDirectories);
    EXPECT_EQ(options.prompt, text("ID_ADD_TO_EXCLUSIONS"));

    panel.queueChoice({ root.filePath("Photos/Trip"), root.filePath("Other") });
    exclude.btnAdd->click();
    EXPECT_TRUE(alerts.alerts().empty());
    EXPECT_EQ(
        storedExclusions(), before + QStringList({ root.filePath("Photos/Trip"), root.filePath("Other") }));

    // One folder already listed and one on the scan list: a single combined alert, the list is
    // stored unchanged.
    UserDefaults::standard().removeObject("excludedFolders");
    panel.queueChoice({ root.filePath("Other"), root.path() });
    exclude.btnAdd->click();
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_EQ(alerts.alerts().front().messageText, text("ID_ONE_OR_MORE_ITEMS_CANT_EXCLUDED"));
    EXPECT_EQ(alerts.alerts().front().buttons, QStringList { text("ID_OK") });
    EXPECT_EQ(storedExclusions(), exclude.arrExclude);
    EXPECT_EQ(exclude.tvExclude->rowCount(), exclude.arrExclude.size());
}

TEST_F(PaneTest, TrashFoldersAreRefusedWholesale)
{
    ExcludeViewController exclude;
    exclude.view();
    panel.queueChoice({ QDir::homePath() + "/Documents", Trash::homeTrashFolder() + "/files" });
    exclude.btnAdd->click();
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_EQ(alerts.alerts().front().messageText, text("ID_TRASH_FOLDER_CANT_EXCLUDED"));
    EXPECT_FALSE(UserDefaults::standard().hasUserValue("excludedFolders"));
    EXPECT_FALSE(exclude.arrExclude.contains(QDir::homePath() + "/Documents"));
}

TEST_F(PaneTest, RemoveTakesTheSelectedRowOnlyWhenThereIsOne)
{
    ExcludeViewController exclude;
    exclude.view();
    const QStringList before = exclude.arrExclude;
    ASSERT_GE(before.size(), 2);
    exclude.btnRemove->click();
    EXPECT_EQ(exclude.arrExclude, before);
    EXPECT_FALSE(UserDefaults::standard().hasUserValue("excludedFolders"));

    exclude.tvExclude->selectRow(1);
    exclude.btnRemove->click();
    QStringList expected = before;
    expected.removeAt(1);
    EXPECT_EQ(storedExclusions(), expected);
    EXPECT_EQ(exclude.tvExclude->rowCount(), expected.size());
}

TEST_F(PaneTest, TheExclusionsListGoesToItsEndsAndByPagesWithItsKeys)
{
    QVariantList folders;
    for (int i = 0; i < 40; ++i)
        folders.append(QStringLiteral("/excluded/%1").arg(i));
    UserDefaults::standard().setObject("excludedFolders", folders);
    ExcludeViewController exclude;
    exclude.view()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(exclude.view()));
    exclude.tvExclude->selectRow(5);
    // Key, the lowest and highest row it may select (a page: more than one row, fewer than all).
    for (const auto &[key, low, high] : { std::tuple { Qt::Key_End, 39, 39 }, { Qt::Key_Home, 0, 0 },
             { Qt::Key_PageDown, 2, 38 } }) {
        QTest::keyClick(exclude.tvExclude, key);
        const int row = exclude.tvExclude->selectionModel()->selectedRows().value(0).row();
        EXPECT_TRUE(row >= low && row <= high) << key << " " << row;
    }
}

} // namespace
