// The auto-mark rules pane (switches, choices, dragging, reset) and the file-type filter pane
// (ticking, the last ticked type, the minimum size row).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMimeData>
#include <QTest>

#include "app/LocalizedString.h"
#include "app/SettingsDefaults.h"
#include "controls/CustomCell.h"
#include "platform/NotificationCenter.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"
#include "platform/ui/ScriptedAlertPresenter.h"
#include "preferences/GeneralSettings.h"
#include "preferences/ui/AutoMarkViewController.h"
#include "preferences/ui/FilterViewController.h"

namespace
{

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

class RulesPaneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UserDefaults::standard().resetAll();
        SettingsDefaults::registerDefaultSettings();
        pane.view();
    }
    CustomCell *cell(int row, int column) const
    {
        return qobject_cast<CustomCell *>(
            pane.tvAutoMarkRules->indexWidget(pane.model()->index(row, column)));
    }
    QStringList storedKeys() const
    {
        QStringList keys;
        for (const QVariant &rule : UserDefaults::standard().arrayForKey("autoMarkRules"))
            keys.append(rule.toMap().value("key").toString());
        return keys;
    }
    static std::unique_ptr<QMimeData> dragOf(int row)
    {
        std::unique_ptr<QMimeData> data(new QMimeData);
        data->setData(AutoMarkRulesModel::kDragDropType, QByteArray::number(row));
        return data;
    }

    AutoMarkViewController pane;
};

TEST_F(RulesPaneTest, AClickedUseBoxMakesItsRowCurrent)
{
    QCheckBox *box = cell(2, AutoMarkRulesModel::idState)->btnCheckBox();
    const bool ticked = box->isChecked();
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(pane.tvAutoMarkRules, Qt::Key_Space);
    EXPECT_EQ(box->isChecked(), ticked);
}

TEST_F(RulesPaneTest, CheckBoxAndChoiceStoreTheirRule)
{
    QCheckBox *library = cell(1, AutoMarkRulesModel::idState)->btnCheckBox();
    ASSERT_TRUE(library->isChecked());
    library->click();
    const QVariantList stored = UserDefaults::standard().arrayForKey("autoMarkRules");
    EXPECT_EQ(stored.at(1).toMap().value("state"), QVariant(qlonglong(0)));
    EXPECT_EQ(stored.at(0), SettingsDefaults::defaultAutoMarkRules().at(0));

    QComboBox *date = cell(6, AutoMarkRulesModel::idDescription)->cmbBox();
    ASSERT_NE(date, nullptr);
    date->setCurrentIndex(1);
    emit date->activated(1);
    EXPECT_EQ(UserDefaults::standard().arrayForKey("autoMarkRules").at(6).toMap().value("isMarkWithEarlier"),
        QVariant(false));
}

TEST_F(RulesPaneTest, ChoicesHoldTheirTwoItemsAcrossResetsAndPlainRulesShowText)
{
    NotificationCenter::defaultCenter().post(GeneralSettings::kPreferencesResetToDefaults);
    NotificationCenter::defaultCenter().post(GeneralSettings::kPreferencesResetToDefaults);
    settle();
    QComboBox *format = cell(0, AutoMarkRulesModel::idDescription)->cmbBox();
    ASSERT_NE(format, nullptr);
    const QString jpegHeic = localizedString("ID_MARK_JPEG_HEIC");
    ASSERT_EQ(format->count(), 2);
    EXPECT_EQ(format->itemText(0), formatText(jpegHeic, QStringLiteral("JPEG")));
    EXPECT_EQ(format->itemText(1), formatText(jpegHeic, QStringLiteral("HEIC")));
    EXPECT_EQ(cell(7, AutoMarkRulesModel::idDescription)->cmbBox()->count(), 2);

    CustomCell *size = cell(4, AutoMarkRulesModel::idDescription);
    EXPECT_EQ(size->cmbBox(), nullptr);
    ASSERT_NE(size->lblFilePath(), nullptr);
    EXPECT_EQ(size->lblFilePath()->text(), localizedString("ID_MARK_SMALLER_SIZE"));
    EXPECT_EQ(pane.model()->data(pane.model()->index(4, AutoMarkRulesModel::idName), Qt::ToolTipRole),
        QVariant(localizedString("ID_IMAGE_SIZE_MARK")));
}

TEST_F(RulesPaneTest, ADropBetweenRowsReordersWhatIsStoredAndShown)
{
    AutoMarkRulesModel *model = pane.model();
    EXPECT_FALSE(model->canDropMimeData(dragOf(4).get(), Qt::MoveAction, -1, -1, model->index(1, 0)));
    EXPECT_FALSE(model->dropMimeData(dragOf(4).get(), Qt::MoveAction, -1, -1, model->index(1, 0)));
    EXPECT_FALSE(UserDefaults::standard().hasUserValue("autoMarkRules"));

    ASSERT_TRUE(model->dropMimeData(dragOf(4).get(), Qt::MoveAction, 1, 0, QModelIndex()));
    const QStringList order = storedKeys();
    EXPECT_EQ(order.mid(0, 3), QStringList({ "preferFormat", "size", "library" }));
    for (int row = 0; row < model->rowCount(); ++row) {
        EXPECT_EQ(model->data(model->index(row, AutoMarkRulesModel::idNumber), Qt::DisplayRole).toString(),
            QString::number(row + 1));
        EXPECT_EQ(pane.arrAutoMarkRuoles().rule(row).value("key").toString(), order.at(row));
        EXPECT_EQ(cell(row, AutoMarkRulesModel::idState)->btnCheckBox()->property("row"), QVariant(row));
    }
    // The switch of the moved rule now changes the moved rule.
    cell(1, AutoMarkRulesModel::idState)->btnCheckBox()->click();
    EXPECT_EQ(
        UserDefaults::standard().arrayForKey("autoMarkRules").at(1).toMap().value("key"), QVariant("size"));
    EXPECT_EQ(UserDefaults::standard().arrayForKey("autoMarkRules").at(1).toMap().value("state"),
        QVariant(qlonglong(0)));

    // Dropping below the last row moves the rule to the end.
    ASSERT_TRUE(model->dropMimeData(dragOf(0).get(), Qt::MoveAction, -1, -1, QModelIndex()));
    EXPECT_EQ(storedKeys().last(), "preferFormat");
}

TEST_F(RulesPaneTest, AltArrowsMoveTheSelectedRuleAsADragWould)
{
    QTableView *table = pane.tvAutoMarkRules;
    pane.view()->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(pane.view()));
    table->setFocus();
    // Selected row, key, where the rule lands (the first and last rules go no further).
    const std::tuple<int, Qt::Key, int> moves[]
        = { { 4, Qt::Key_Up, 3 }, { 3, Qt::Key_Down, 4 }, { 0, Qt::Key_Down, 1 }, { 0, Qt::Key_Up, 0 }, { 7, Qt::Key_Down, 7 } };
    for (const auto &[row, key, landsAt] : moves) {
        QStringList expected = storedKeys();
        expected.move(row, landsAt);
        table->selectRow(row);
        QTest::keyClick(table, key, Qt::AltModifier);
        EXPECT_EQ(storedKeys(), expected) << row << " " << key;
        EXPECT_EQ(table->currentIndex().row(), landsAt);
        EXPECT_EQ(cell(landsAt, AutoMarkRulesModel::idState)->btnCheckBox()->property("row"), QVariant(landsAt));
    }
}

TEST_F(RulesPaneTest, ResetTurnsStoredEnglishTextsBackIntoKeys)
{
    QVariantList rules = SettingsDefaults::defaultAutoMarkRules();
    QVariantMap size = rules.at(4).toMap();
    size.insert("name", localizedString("ID_IMAGE_SIZE_MARK").toUpper());
    size.insert("description", localizedString("ID_MARK_SMALLER_SIZE").toLower());
    rules[4] = size;
    UserDefaults::standard().setObject("autoMarkRules", rules);
    pane.resetFromDefaults();
    settle();
    // The first key of the table with that text; another key may share it ("File Size").
    const QVariantMap stored = UserDefaults::standard().arrayForKey("autoMarkRules").at(4).toMap();
    EXPECT_TRUE(stored.value("name").toString().startsWith("ID_"));
    EXPECT_EQ(localizedString(stored.value("name").toString()), localizedString("ID_IMAGE_SIZE_MARK"));
    EXPECT_EQ(stored.value("description"), QVariant("ID_MARK_SMALLER_SIZE"));
    EXPECT_EQ(cell(4, AutoMarkRulesModel::idDescription)->lblFilePath()->text(),
        localizedString("ID_MARK_SMALLER_SIZE"));
}

class FilterPaneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UserDefaults::standard().resetAll();
        SettingsDefaults::registerDefaultSettings();
    }
    QCheckBox *box(FilterViewController &pane, int row) const
    {
        return qobject_cast<CustomCell *>(pane.tvFilter->cellWidget(row, 0))->btnCheckBox();
    }
    static QVariantMap type(const char *name, bool on) { return { { "key", name }, { "state", on } }; }

    ScriptedAlertPresenter alerts;
};

TEST_F(FilterPaneTest, UntickingTheOnlyTickedTypeIsRefusedWithTheAlert)
{
    UserDefaults::standard().setObject(
        "allowedExtensions", QVariantList { type("JPEG", true), type("PNG", false) });
    UserDefaults::standard().setObject("allowedVideoExtensions", QVariantList { type("MP4", false) });
    FilterViewController pane;
    pane.view();
    ASSERT_EQ(pane.tvFilter->rowCount(), 3);
    EXPECT_EQ(pane.tvFilter->item(2, 1)->text(), QStringLiteral("MP4"));
    box(pane, 0)->click();
    settle();
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_EQ(alerts.alerts().front().messageText, localizedString("ID_ATLEAST_ONE_FILE_EXT_REQRD"));
    EXPECT_EQ(alerts.alerts().front().buttons, QStringList { localizedString("ID_OK_CAPS") });
    EXPECT_TRUE(box(pane, 0)->isChecked());
    EXPECT_EQ(UserDefaults::standard().arrayForKey("allowedExtensions").at(0).toMap().value("state"),
        QVariant(true));
    EXPECT_EQ(pane.countAllowedExtension(), 1);

    // Once a video type is ticked, the image type may go.
    box(pane, 2)->click();
    box(pane, 0)->click();
    EXPECT_EQ(alerts.alerts().size(), 1u);
    EXPECT_EQ(UserDefaults::standard().arrayForKey("allowedExtensions").at(0).toMap().value("state"),
        QVariant(qlonglong(0)));

    // Space ticks the current row alone and unticks it again; Tab stops at the list, not in its rows.
    pane.tvFilter->setCurrentCell(1, 1);
    QTest::keyClick(pane.tvFilter, Qt::Key_Space);
    EXPECT_TRUE(box(pane, 1)->isChecked() && !box(pane, 0)->isChecked());
    QTest::keyClick(pane.tvFilter, Qt::Key_Space);
    EXPECT_EQ(UserDefaults::standard().arrayForKey("allowedExtensions").at(1).toMap().value("state"),
        QVariant(qlonglong(0)));
    EXPECT_EQ(box(pane, 0)->focusPolicy(), Qt::NoFocus);
}

TEST_F(FilterPaneTest, ResetTicksAndCountsEveryType)
{
    FilterViewController pane;
    pane.view();
    box(pane, 0)->click();
    box(pane, 3)->click();
    EXPECT_EQ(pane.countAllowedExtension(), pane.tvFilter->rowCount() - 2);
    GeneralSettings::resetDefaults(UserDefaults::standard());
    settle();
    FileTypeList offered(UserDefaults::standard()); // the defaults without the types nothing decodes
    offered.load();
    const int all = offered.count();
    EXPECT_EQ(pane.countAllowedExtension(), all);
    ASSERT_EQ(pane.tvFilter->rowCount(), all);
    for (int row = 0; row < all; ++row)
        EXPECT_TRUE(box(pane, row)->isChecked()) << row;
}

TEST_F(FilterPaneTest, TheMinimumSizeTakesWholeNumbersFromZeroUp)
{
    FilterViewController pane;
    pane.view();
    UserDefaults &defaults = UserDefaults::standard();
    for (const char *bad : { "abc", "-3", "1.5", "", "12kb" }) {
        pane.txtFileSize->setText(QString::fromLatin1(bad));
        emit pane.txtFileSize->editingFinished();
        EXPECT_FALSE(defaults.hasUserValue("minimumFileSize")) << bad;
        EXPECT_EQ(pane.txtFileSize->text(), QStringLiteral("50")) << bad;
    }
    pane.txtFileSize->setText(QStringLiteral(" 0 "));
    emit pane.txtFileSize->editingFinished();
    EXPECT_EQ(defaults.objectForKey("minimumFileSize"), QVariant(qlonglong(0)));
    pane.stepper->downButton()->click();
    EXPECT_EQ(defaults.integerForKey("minimumFileSize"), 0);
    pane.stepper->upButton()->click();
    EXPECT_EQ(defaults.integerForKey("minimumFileSize"), 1);
    EXPECT_EQ(pane.txtFileSize->text(), QStringLiteral("1"));

    pane.popUpDropDown->setCurrentIndex(1);
    emit pane.popUpDropDown->activated(1);
    EXPECT_EQ(defaults.integerForKey("fileSizeUnit"), 1);
    GeneralSettings::resetDefaults(defaults);
    EXPECT_EQ(pane.popUpDropDown->currentIndex(), 0);
    EXPECT_EQ(pane.txtFileSize->text(), QStringLiteral("50"));
}

// Space ticks a row's box from any column, wherever its list puts the boxes: the rules' in their
// second column, the file types' in their first.
TEST_F(FilterPaneTest, SpaceTicksTheRowsBoxFromAnyColumnOfBothLists)
{
    UserDefaults::standard().setObject("allowedExtensions", QVariantList { type("JPEG", true), type("PNG", true) });
    AutoMarkViewController rules;
    FilterViewController types;
    rules.view();
    types.view();
    const std::tuple<QTableView *, const char *, int> rows[] = { { rules.tvAutoMarkRules, "autoMarkRules", 0 },
        { rules.tvAutoMarkRules, "autoMarkRules", 1 }, { rules.tvAutoMarkRules, "autoMarkRules", 3 },
        { types.tvFilter, "allowedExtensions", 0 }, { types.tvFilter, "allowedExtensions", 1 } };
    for (const auto &[list, key, column] : rows) {
        list->setCurrentIndex(list->model()->index(1, column));
        for (const bool ticked : { false, true }) {
            QTest::keyClick(list, Qt::Key_Space);
            EXPECT_EQ(UserDefaults::standard().arrayForKey(key).at(1).toMap().value("state").toBool(), ticked)
                << key << " " << column;
        }
    }
}

// Home and End go to the first and last row of both lists from any column of any row; they never
// just cross the current row (where Space would then tick another type than the one meant).
TEST_F(FilterPaneTest, HomeAndEndGoToTheFirstAndLastRowOfBothLists)
{
    AutoMarkViewController rules;
    FilterViewController types;
    rules.view();
    types.view();
    for (QTableView *list :
        { static_cast<QTableView *>(rules.tvAutoMarkRules), static_cast<QTableView *>(types.tvFilter) }) {
        const int last = list->model()->rowCount() - 1;
        ASSERT_GT(last, 2);
        for (int column = 0; column < list->model()->columnCount(); ++column) {
            for (const auto &[key, row] : { std::pair { Qt::Key_Home, 0 }, { Qt::Key_End, last } }) {
                list->setCurrentIndex(list->model()->index(2, column));
                QTest::keyClick(list, key);
                EXPECT_EQ(list->currentIndex().row(), row)
                    << list->objectName().toStdString() << " " << column;
                EXPECT_EQ(list->currentIndex().column(), column);
            }
        }
    }
}

} // namespace
