// Owns the one preferences window: builds it around the panes, shows it on a pane and brings it
// back where the user left it.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QObject>
#include <QPointer>

#include "preferences/PaneIdentifier.h"
#include "preferences/PreferencesStyle.h"
#include "preferences/ui/PreferencesTabViewController.h"

class PreferencePane;
class PreferencePaneConvertible;
class QWidget;
class UserInteractionPausableWindow;
class WindowFrameAutosave;

class PreferencesWindowController : public QObject
{
    Q_OBJECT
public:
    // The settings key of the window's saved frame.
    static inline const QString kFrameAutosaveName
        = QStringLiteral("com.orvelkin.Preferences.FrameAutosaveName");

    // `preferencePanes` must not be empty.
    PreferencesWindowController(std::vector<std::shared_ptr<PreferencePane>> preferencePanes,
        Preferences::Style style, bool animated, bool hidesToolbarForSingleItem);
    // The same from panes and pane values, each turned into its pane in list order.
    PreferencesWindowController(
        const std::vector<std::shared_ptr<PreferencePaneConvertible>> &paneConvertibles,
        Preferences::Style style, bool animated, bool hidesToolbarForSingleItem);
    ~PreferencesWindowController() override;

    PreferencesTabViewController *tabViewController() { return &m_tabViewController; }
    UserInteractionPausableWindow *window() const;
    // The view that holds the pane shown now.
    QWidget *contentView();

    bool hidesToolbarForSingleItem() const { return m_hidesToolbarForSingleItem; }
    void setHidesToolbarForSingleItem(bool hides);
    bool isAnimated() const { return m_tabViewController.isAnimated; }
    void setIsAnimated(bool animated) { m_tabViewController.isAnimated = animated; }

    // Shows the pane named (the first pane for an unknown name; without a name the first pane the
    // first time, afterwards the one shown last), then the window, where the user left it.
    void show(const std::optional<Preferences::PaneIdentifier> &paneIdentifier);
    void showWindow();
    // Centres the window on its screen, then applies the saved frame and keeps saving it.
    void restoreWindowPosition();
    void updateToolbarVisibility();
    void dismissController();

private:
    PreferencesTabViewController m_tabViewController;
    QPointer<UserInteractionPausableWindow> m_window;
    bool m_hidesToolbarForSingleItem;
    QPointer<WindowFrameAutosave> m_frame;
};
