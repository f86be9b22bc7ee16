// The content of the preferences window: shows one pane at a time, fills the window's toolbar
// through the style controller, switches panes (crossfading while the window grows or shrinks to
// the new pane, top edge fixed) and titles the window.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QFlags>
#include <QPointer>
#include <QRect>
#include <QToolBar>
#include <QVariantAnimation>

#include "preferences/PreferencesStyle.h"
#include "preferences/ui/PreferencesStyleController.h"

class PreferencePane;
class QMainWindow;
class QWidget;

class PreferencesTabViewController : public PreferencesStyleControllerDelegate
{
    Q_OBJECT
public:
    enum TransitionOption {
        none = 0x0,
        crossfade = 0x1,
        slideUp = 0x10,
        slideDown = 0x20,
        slideLeft = 0x40,
        slideRight = 0x80,
        slideForward = 0x140,
        slideBackward = 0x180,
    };
    Q_DECLARE_FLAGS(TransitionOptions, TransitionOption)

    static constexpr int kTransitionMilliseconds = 250;

    PreferencesTabViewController();
    ~PreferencesTabViewController() override;

    std::optional<int> activeTab;
    bool isAnimated = true;

    const std::vector<std::shared_ptr<PreferencePane>> &preferencePanes() const { return m_preferencePanes; }
    PreferencesStyleController *preferencesStyleController() const { return m_styleController.get(); }
    QToolBar *toolbar() const { return m_toolbar; }

    // A plain widget that holds the shown pane's view, edge to edge.
    QWidget *view();

    // Called once, after view() became the central widget of a QMainWindow.
    void setPanes(std::vector<std::shared_ptr<PreferencePane>> panes, Preferences::Style style);
    void setActiveTab(int index, bool animated);
    void showTabImmediately(int index);
    void transitionToTab(int index, bool animated);
    QString windowTitle(int index) const;
    void resizeWindow(PreferencePane &pane, bool animated);
    // Swaps the panes' views; crossfade or a slide animate it together with the window's size.
    void transition(PreferencePane &from, PreferencePane &to, TransitionOptions options,
        const std::function<void()> &completion = {});

    // The pane `step` places after the shown one, wrapping at either end (Ctrl+Tab, Ctrl+PgUp).
    void activateNeighbourPane(int step);
    // Gives the focus, with its visible mark, to the first control of the shown pane.
    void focusActivePane();

    void activatePane(const QString &identifier, bool animated) override;
    void activatePane(int index, bool animated) override;

signals:
    // A transition's views are swapped and its animation, if any, has ended.
    void transitionFinished();

private:
    void performTransition(PreferencePane &from, PreferencePane &to, TransitionOptions options,
        const std::function<void()> &completion);
    void pinToSuperviewEdges(QWidget *paneView);
    void applyWindowGeometry(const QRect &geometry);
    QMainWindow *mainWindow() const;
    // The switcher's button of the pane at `index`, if the style has one.
    QWidget *paneButton(int index) const;
    // The first control of the pane that Tab reaches.
    static QWidget *firstControl(QWidget *paneView);
    PreferencePane &paneAt(int index) const;

    std::vector<std::shared_ptr<PreferencePane>> m_preferencePanes;
    std::unique_ptr<PreferencesStyleController> m_styleController;
    QPointer<QWidget> m_view;
    QPointer<QToolBar> m_toolbar;
    QPointer<QVariantAnimation> m_resizeAnimation;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(PreferencesTabViewController::TransitionOptions)
