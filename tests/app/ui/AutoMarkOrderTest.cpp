// The order the rules pane shows after a drag is the order auto-mark applies.
#include <gtest/gtest.h>

#include <QMimeData>

#include "app/SettingsDefaults.h"
#include "platform/UserDefaults.h"
#include "preferences/ui/AutoMarkViewController.h"
#include "removal/AutoMarkEngine.h"
#include "removal/AutoMarkTestRecords.h"
#include "results/ResultState.h"

namespace
{

using namespace AutoMarkTestRecords;

// With only the dimension and size rules on, the larger picture and the larger file disagree:
// whichever rule comes first decides which copy stays.
QString keptAfterAutoMark()
{
    ResultState state;
    auto group = makeGroup(
        { m("big-picture.jpg").px(4000, 3000).bytes(100), m("big-file.jpg").px(800, 600).bytes(900) });
    AutoMarkEngine(state).applyAutoMarkRules(*group);
    for (const auto &record : group->children) {
        if (!record->isMark)
            return record->fileName;
    }
    return {};
}

TEST(AutoMarkOrder, ADraggedRuleIsAppliedWhereItWasDropped)
{
    UserDefaults::standard().resetAll();
    SettingsDefaults::registerDefaultSettings();
    QVariantList rules = SettingsDefaults::defaultAutoMarkRules();
    for (QVariant &entry : rules) {
        QVariantMap rule = entry.toMap();
        const QString key = rule.value("key").toString();
        rule.insert("state", key == "dimension" || key == "size");
        entry = rule;
    }
    UserDefaults::standard().setObject("autoMarkRules", rules);
    AutoMarkViewController pane;
    pane.view();
    EXPECT_EQ(keptAfterAutoMark(), QStringLiteral("big-picture.jpg"));

    // Drag "size", fifth, above "dimension", third.
    QMimeData drag;
    drag.setData(AutoMarkRulesModel::kDragDropType, "4");
    ASSERT_TRUE(pane.model()->dropMimeData(&drag, Qt::MoveAction, 2, 0, QModelIndex()));
    EXPECT_EQ(pane.model()->data(pane.model()->index(2, AutoMarkRulesModel::idName), Qt::DisplayRole),
        pane.model()->displayText("ID_IMAGE_SIZE_MARK"));
    EXPECT_EQ(pane.model()->data(pane.model()->index(2, AutoMarkRulesModel::idNumber), Qt::DisplayRole),
        QVariant("3"));
    EXPECT_EQ(keptAfterAutoMark(), QStringLiteral("big-file.jpg"));
}

} // namespace
