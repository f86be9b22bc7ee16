// The preferences window: one window whose toolbar switches between the preference panes.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QObject>
#include <QPointer>

class PreferencePane;
class QWidget;

namespace Preferences
{
enum class Style : int { toolbarItems = 0, segmentedControl = 1 };
}

// Which pane the window shows; nothing until a pane was shown.
class PreferencesTabViewController
{
public:
    std::optional<int> activeTab;
    void setActiveTab(int index, bool animated);
};

class PreferencesWindowController : public QObject
{
    Q_OBJECT
public:
    PreferencesWindowController(std::vector<std::shared_ptr<PreferencePane>> preferencePanes,
        Preferences::Style style, bool animated, bool hidesToolbarForSingleItem);
    ~PreferencesWindowController() override;

    PreferencesTabViewController *tabViewController() { return &m_tabViewController; }
    QWidget *window();
    // The view of the pane shown now.
    QWidget *contentView();

    void showWindow();
    void restoreWindowPosition();
    void dismissController();

private:
    std::vector<std::shared_ptr<PreferencePane>> m_panes;
    PreferencesTabViewController m_tabViewController;
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_contentView;
};
