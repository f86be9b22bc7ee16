#include "preferences/ui/PreferencesWindowController.h"

#include <QScreen>
#include <QShortcut>
#include <QToolBar>
#include <QWidget>

#include "platform/ui/WindowFrameAutosave.h"
#include "preferences/ui/PreferencePane.h"
#include "preferences/ui/UserInteractionPausableWindow.h"

namespace
{

std::vector<std::shared_ptr<PreferencePane>> convertedPanes(
    const std::vector<std::shared_ptr<PreferencePaneConvertible>> &paneConvertibles)
{
    std::vector<std::shared_ptr<PreferencePane>> panes;
    for (const auto &convertible : paneConvertibles) {
        if (std::shared_ptr<PreferencePane> pane = convertible ? convertible->asPreferencePane() : nullptr)
            panes.push_back(std::move(pane));
    }
    return panes;
}

} // namespace

PreferencesWindowController::PreferencesWindowController(
    std::vector<std::shared_ptr<PreferencePane>> preferencePanes, Preferences::Style style, bool animated,
    bool hidesToolbarForSingleItem)
    : m_hidesToolbarForSingleItem(hidesToolbarForSingleItem)
{
    if (preferencePanes.empty())
        qFatal("PreferencesWindowController needs at least one preference pane");
    m_window = new UserInteractionPausableWindow;
    m_window->setFixedSize(preferencePanes.front()->fittingSize());
    m_window->setCentralWidget(m_tabViewController.view());
    m_window->setTitleVisible(!(style == Preferences::Style::segmentedControl && preferencePanes.size() > 1));
    m_tabViewController.isAnimated = animated;
    m_tabViewController.setPanes(std::move(preferencePanes), style);
    updateToolbarVisibility();
    // Ctrl+W closes the window, as it closes any settings window; Escape does too, but as a key the
    // window answers itself, since a shortcut would take it from an open drop-down list.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_W), m_window), &QShortcut::activated, this,
        &PreferencesWindowController::dismissController);
    // The keys of a tabbed window step through the panes.
    const std::pair<QKeySequence, int> paneKeys[] = { { QKeySequence(Qt::CTRL | Qt::Key_Tab), 1 },
        { QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1 }, { QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1 },
        { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1 },
        { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1 } };
    for (const auto &[keys, step] : paneKeys)
        connect(new QShortcut(keys, m_window), &QShortcut::activated, this,
            [this, step = step] { m_tabViewController.activateNeighbourPane(step); });
}

PreferencesWindowController::PreferencesWindowController(
    const std::vector<std::shared_ptr<PreferencePaneConvertible>> &paneConvertibles, Preferences::Style style,
    bool animated, bool hidesToolbarForSingleItem)
    : PreferencesWindowController(
        convertedPanes(paneConvertibles), style, animated, hidesToolbarForSingleItem)
{
}

PreferencesWindowController::~PreferencesWindowController()
{
    if (m_window) {
        // A window being destroyed hides; its half-destroyed frame must not be saved.
        delete m_frame;
        delete m_window;
    }
}

UserInteractionPausableWindow *PreferencesWindowController::window() const
{
    return m_window;
}

QWidget *PreferencesWindowController::contentView()
{
    return m_tabViewController.view();
}

void PreferencesWindowController::setHidesToolbarForSingleItem(bool hides)
{
    m_hidesToolbarForSingleItem = hides;
    updateToolbarVisibility();
}

void PreferencesWindowController::updateToolbarVisibility()
{
    QToolBar *toolbar = m_tabViewController.toolbar();
    if (!m_window || !toolbar)
        return;
    const bool visible = !(m_hidesToolbarForSingleItem && m_tabViewController.preferencePanes().size() < 2);
    if (toolbar->isHidden() != visible)
        return;
    toolbar->setVisible(visible);
    // The pane keeps its size; the window grows or shrinks by the toolbar.
    if (const std::optional<int> active = m_tabViewController.activeTab)
        m_tabViewController.resizeWindow(
            *m_tabViewController.preferencePanes().at(static_cast<size_t>(*active)), false);
}

void PreferencesWindowController::show(const std::optional<Preferences::PaneIdentifier> &paneIdentifier)
{
    const auto &panes = m_tabViewController.preferencePanes();
    if (paneIdentifier) {
        int index = 0;
        for (size_t i = 0; i < panes.size(); ++i) {
            if (panes.at(i)->preferencePaneIdentifier() == *paneIdentifier) {
                index = static_cast<int>(i);
                break;
            }
        }
        m_tabViewController.setActiveTab(index, false);
    } else if (!m_tabViewController.activeTab) {
        m_tabViewController.setActiveTab(0, false);
    }
    showWindow();
    restoreWindowPosition();
    m_window->raise();
    m_window->activateWindow();
    // The keys start in the pane, as in any settings window; the switcher is a Shift+Tab away.
    m_tabViewController.focusActivePane();
}

void PreferencesWindowController::showWindow()
{
    m_window->show();
    m_window->raise();
}

void PreferencesWindowController::restoreWindowPosition()
{
    if (!m_window || !m_window->screen())
        return;
    const QRect visible = m_window->screen()->availableGeometry();
    const QRect frame = m_window->frameGeometry();
    m_window->move(visible.center().x() - frame.width() / 2, visible.center().y() - frame.height() / 2);
    // The frame is saved from the first showing on, once it has its place.
    if (!m_frame)
        m_frame = new WindowFrameAutosave(m_window, kFrameAutosaveName);
    // The window's size is fixed by its pane, so only the place comes back from the saved frame.
    m_frame->restore();
}

void PreferencesWindowController::dismissController()
{
    if (m_window)
        m_window->close();
}
