// The preferences window: its toolbar styles, showing panes by name, its title, the saved frame
// and paused input.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QToolBar>

#include "PreferencesTestPanes.h"
#include "platform/UserDefaults.h"
#include "preferences/PreferencesLocalization.h"
#include "preferences/ui/PreferencesWindowController.h"
#include "preferences/ui/SegmentedControlStyleViewController.h"
#include "preferences/ui/ToolbarItemStyleViewController.h"
#include "preferences/ui/UserInteractionPausableWindow.h"
#include "support/TestEvents.h"

namespace
{

using Preferences::PaneIdentifier;

class PreferencesWindowTest : public ::testing::Test
{
protected:
    void SetUp() override { UserDefaults::standard().resetAll(); }

    std::unique_ptr<PreferencesWindowController> makeController(
        Preferences::Style style = Preferences::Style::toolbarItems, bool animated = false)
    {
        panes = fourTestPanes();
        return std::make_unique<PreferencesWindowController>(panes, style, animated, true);
    }
    QWidget *shownView(PreferencesWindowController &controller)
    {
        return panes.at(static_cast<size_t>(*controller.tabViewController()->activeTab))->view();
    }
    QList<QAction *> paneActions(PreferencesWindowController &controller)
    {
        QList<QAction *> actions;
        for (QAction *action : controller.tabViewController()->toolbar()->actions()) {
            if (action->isCheckable())
                actions.append(action);
        }
        return actions;
    }

    std::vector<std::shared_ptr<PreferencePane>> panes;
};

TEST_F(PreferencesWindowTest, ToolbarStyleOffersEveryPaneInOrderWithTheShownOneChecked)
{
    auto controller = makeController();
    controller->show(PaneIdentifier("exclude"));
    const QList<QAction *> actions = paneActions(*controller);
    ASSERT_EQ(actions.size(), 4);
    QStringList titles;
    for (QAction *action : actions)
        titles.append(action->text());
    EXPECT_EQ(titles, QStringList({ "General", "Exclusions", "Auto-mark", "Filter" }));
    EXPECT_EQ(actions.at(1)->objectName(), QStringLiteral("exclude"));
    EXPECT_TRUE(actions.at(1)->isChecked());
    EXPECT_EQ(controller->tabViewController()->toolbar()->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);

    actions.at(3)->trigger();
    EXPECT_EQ(controller->tabViewController()->activeTab, std::optional<int>(3));
    EXPECT_TRUE(actions.at(3)->isChecked());
    EXPECT_FALSE(actions.at(1)->isChecked());
    EXPECT_EQ(controller->window()->title(), QStringLiteral("Filter"));
}

TEST_F(PreferencesWindowTest, SegmentedStyleIsOneCentredControlOfEqualSegments)
{
    auto controller = makeController(Preferences::Style::segmentedControl);
    auto *style = dynamic_cast<SegmentedControlStyleViewController *>(
        controller->tabViewController()->preferencesStyleController());
    ASSERT_NE(style, nullptr);
    const int w = style->segmentSize().width();
    EXPECT_EQ(style->view()->width(), 4 * w + 5);
    EXPECT_TRUE(style->keepsWindowCentered());
    EXPECT_FALSE(controller->window()->isTitleVisible());

    controller->show(std::nullopt);
    EXPECT_EQ(style->selectedSegment(), 0);
    const QList<QAction *> menuItems = style->menuFormRepresentation()->actions();
    ASSERT_EQ(menuItems.size(), 4);
    EXPECT_EQ(menuItems.at(2)->objectName(), QStringLiteral("segment-Auto-mark"));
    menuItems.at(2)->trigger();
    EXPECT_EQ(controller->tabViewController()->activeTab, std::optional<int>(2));
    EXPECT_EQ(style->selectedSegment(), 2);

    // Without its delegate the control does nothing.
    style->setDelegate(nullptr);
    menuItems.at(1)->trigger();
    EXPECT_EQ(controller->tabViewController()->activeTab, std::optional<int>(2));
}

TEST_F(PreferencesWindowTest, ShowPicksThePaneByNameOrKeepsTheLastOne)
{
    auto controller = makeController();
    PreferencesTabViewController *tabs = controller->tabViewController();

    controller->show(PaneIdentifier("automark"));
    EXPECT_EQ(tabs->activeTab, std::optional<int>(2));
    EXPECT_EQ(controller->window()->title(), QStringLiteral("Auto-mark"));
    EXPECT_TRUE(shownView(*controller)->isVisible());
    EXPECT_EQ(shownView(*controller)->parentWidget(), controller->contentView());

    controller->show(PaneIdentifier("AutoMark"));
    EXPECT_EQ(tabs->activeTab, std::optional<int>(0));
    EXPECT_EQ(panes.at(2)->view()->parentWidget(), nullptr);

    controller->show(PaneIdentifier("filter"));
    controller->show(std::nullopt);
    EXPECT_EQ(tabs->activeTab, std::optional<int>(3));

    // The shown pane again: no transition, same view, same window size.
    int transitions = 0;
    QObject::connect(tabs, &PreferencesTabViewController::transitionFinished, [&] { ++transitions; });
    const QSize size = controller->window()->size();
    QWidget *view = shownView(*controller);
    controller->show(PaneIdentifier("filter"));
    EXPECT_EQ(transitions, 0);
    EXPECT_EQ(shownView(*controller), view);
    EXPECT_EQ(controller->window()->size(), size);
}

TEST_F(PreferencesWindowTest, FirstShowWithNothingNamedShowsTheFirstPaneAtItsSize)
{
    auto controller = makeController();
    controller->show(std::nullopt);
    EXPECT_EQ(controller->tabViewController()->activeTab, std::optional<int>(0));
    EXPECT_EQ(controller->contentView()->size(), QSize(400, 200));
}

TEST_F(PreferencesWindowTest, AnimatedSwitchResizesWithTheTopEdgeFixedPlainSwitchKeepsTheSize)
{
    auto controller = makeController(Preferences::Style::toolbarItems, true);
    PreferencesTabViewController *tabs = controller->tabViewController();
    controller->show(std::nullopt);
    const QRect before = controller->window()->geometry();

    int finished = 0;
    QObject::connect(tabs, &PreferencesTabViewController::transitionFinished, [&] { ++finished; });
    tabs->activatePane(QStringLiteral("exclude"), true);
    ASSERT_TRUE(TestEvents::waitFor([&] { return finished == 1; }, 10000));
    ASSERT_TRUE(
        TestEvents::waitFor([&] { return controller->contentView()->size() == QSize(420, 300); }, 10000));
    EXPECT_EQ(controller->window()->geometry().topLeft(), before.topLeft());

    controller->setIsAnimated(false);
    const QSize size = controller->window()->size();
    tabs->activatePane(QStringLiteral("automark"), true);
    EXPECT_EQ(finished, 2);
    EXPECT_EQ(controller->window()->size(), size);
}

TEST_F(PreferencesWindowTest, SinglePaneHidesTheToolbarUntilTheFlagIsCleared)
{
    panes = { std::make_shared<TestPane>("general", "General", QSize(400, 200)) };
    PreferencesWindowController controller(panes, Preferences::Style::segmentedControl, true, true);
    controller.show(std::nullopt);
    QToolBar *toolbar = controller.tabViewController()->toolbar();
    EXPECT_FALSE(toolbar->isVisible());
    EXPECT_TRUE(controller.window()->isTitleVisible());
    EXPECT_EQ(controller.window()->title(),
        QGuiApplication::applicationDisplayName() + ' '
            + PreferencesLocalization::localized(PreferencesLocalization::Identifier::preferences));

    controller.setHidesToolbarForSingleItem(false);
    EXPECT_TRUE(toolbar->isVisible());
    EXPECT_EQ(controller.contentView()->size(), QSize(400, 200));
    EXPECT_EQ(controller.window()->createPopupMenu(), nullptr);
}

TEST_F(PreferencesWindowTest, SecondControllerOpensWhereTheFirstWasLeft)
{
    QPoint left;
    {
        auto first = makeController();
        first->show(std::nullopt);
        first->window()->move(37, 41);
        left = first->window()->geometry().topLeft();
        first->dismissController();
    }
    UserDefaults::standard().reload();
    ASSERT_TRUE(UserDefaults::standard().hasUserValue(PreferencesWindowController::kFrameAutosaveName));
    auto second = makeController();
    second->show(std::nullopt);
    EXPECT_EQ(second->window()->geometry().topLeft(), left);
}

TEST_F(PreferencesWindowTest, KeysStepThroughThePanesAndTheFocusGoesAlong)
{
    auto controller = makeController();
    controller->show(std::nullopt);
    ASSERT_TRUE(QTest::qWaitForWindowActive(controller->window()));
    // Space acts on the first control at once, so the styles mark its focus from the opening on.
    EXPECT_TRUE(controller->window()->testAttribute(Qt::WA_KeyboardFocusChange));
    PreferencesTabViewController *tabs = controller->tabViewController();
    // Key, the pane it reaches from the second pane, and from the last (wrapping round).
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, int, int> keys[] = {
        { Qt::Key_Tab, Qt::ControlModifier, 2, 0 }, { Qt::Key_PageDown, Qt::ControlModifier, 2, 0 },
        { Qt::Key_PageUp, Qt::ControlModifier, 0, 2 }, { Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 0, 2 } };
    for (const auto &[key, modifiers, fromSecond, fromLast] : keys) {
        for (const auto &[from, to] : { std::pair { 1, fromSecond }, std::pair { 3, fromLast } }) {
            tabs->setActiveTab(from, false);
            panes.at(from)->view()->findChild<QPushButton *>()->setFocus();
            QTest::keyClick(controller->window(), key, modifiers);
            EXPECT_EQ(tabs->activeTab, std::optional<int>(to)) << key << " from " << from;
            EXPECT_EQ(QApplication::focusWidget(), panes.at(to)->view()->findChild<QPushButton *>());
        }
    }
    // Tab reaches the switcher; Space shows a pane, Ctrl+Tab keeps the focus on the switcher.
    QWidget *filter = tabs->toolbar()->widgetForAction(paneActions(*controller).at(3));
    for (int i = 0; i < 8 && QApplication::focusWidget() != filter; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), filter);
    QTest::keyClick(filter, Qt::Key_Space);
    EXPECT_EQ(tabs->activeTab, std::optional<int>(3));
    QTest::keyClick(filter, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), tabs->toolbar()->widgetForAction(paneActions(*controller).at(0)));
}

// A pane chosen by mouse takes the focus to its button, so the focus mark never stays on the pane
// left behind, whether the keys were on the switcher or in the pane.
TEST_F(PreferencesWindowTest, AClickOnAPaneTakesTheFocusAlong)
{
    auto controller = makeController();
    controller->show(std::nullopt);
    ASSERT_TRUE(QTest::qWaitForWindowActive(controller->window()));
    PreferencesTabViewController *tabs = controller->tabViewController();
    const auto button
        = [&](int pane) { return tabs->toolbar()->widgetForAction(paneActions(*controller).at(pane)); };
    for (const bool fromSwitcher : { true, false }) {
        tabs->setActiveTab(0, false);
        (fromSwitcher ? button(0) : shownView(*controller)->findChild<QPushButton *>())
            ->setFocus(Qt::TabFocusReason);
        QTest::mouseClick(button(2), Qt::LeftButton);
        EXPECT_EQ(tabs->activeTab, std::optional<int>(2));
        EXPECT_EQ(QApplication::focusWidget(), button(2)) << fromSwitcher;
    }
}

TEST_F(PreferencesWindowTest, EscapeOnAnOpenDropDownListClosesTheListAloneThenTheWindow)
{
    auto controller = makeController();
    auto *list = new QComboBox;
    list->addItems({ "KB", "MB" });
    panes.front()->view()->layout()->addWidget(list);
    controller->show(std::nullopt);
    ASSERT_TRUE(QTest::qWaitForWindowActive(controller->window()));
    list->showPopup();
    QTest::keyClick(QApplication::activePopupWidget()->windowHandle(), Qt::Key_Escape);
    EXPECT_TRUE(controller->window()->isVisible());
    QTest::keyClick(controller->window()->windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(controller->window()->isVisible());
}

class Recorder : public QWidget
{
public:
    QList<QEvent::Type> seen;

protected:
    bool event(QEvent *event) override
    {
        seen.append(event->type());
        return QWidget::event(event);
    }
};

TEST_F(PreferencesWindowTest, PausedInputDropsClicksAndKeysButNotHover)
{
    auto controller = makeController();
    controller->show(std::nullopt);
    auto *recorder = new Recorder;
    recorder->setMouseTracking(true);
    panes.front()->view()->layout()->addWidget(recorder);
    controller->window()->setUserInteractionEnabled(false);

    const QPointF at(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, recorder->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
        Qt::NoModifier);
    QMouseEvent drag(
        QEvent::MouseMove, at, recorder->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent hover(
        QEvent::MouseMove, at, recorder->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QEvent enter(QEvent::Enter);
    for (QEvent *event : std::initializer_list<QEvent *> { &press, &drag, &hover, &key, &enter })
        QApplication::sendEvent(recorder, event);
    EXPECT_FALSE(recorder->seen.contains(QEvent::MouseButtonPress));
    EXPECT_FALSE(recorder->seen.contains(QEvent::KeyPress));
    EXPECT_EQ(recorder->seen.count(QEvent::MouseMove), 1);
    EXPECT_TRUE(recorder->seen.contains(QEvent::Enter));

    controller->window()->setUserInteractionEnabled(true);
    QApplication::sendEvent(recorder, &key);
    EXPECT_TRUE(recorder->seen.contains(QEvent::KeyPress));
}

} // namespace
