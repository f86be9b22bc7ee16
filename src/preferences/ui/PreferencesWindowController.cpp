#include "preferences/ui/PreferencesWindowController.h"

#include <QVBoxLayout>
#include <QWidget>

#include "platform/ui/FrameGeometry.h"

void PreferencesTabViewController::setActiveTab(int index, bool)
{
    activeTab = index;
}

PreferencesWindowController::PreferencesWindowController(
    std::vector<std::shared_ptr<PreferencePane>> preferencePanes, Preferences::Style, bool, bool)
    : m_panes(std::move(preferencePanes))
{
}

PreferencesWindowController::~PreferencesWindowController()
{
    delete m_window;
}

QWidget *PreferencesWindowController::window()
{
    if (!m_window) {
        m_window = new QWidget(nullptr, Qt::Window);
        m_window->setObjectName(QStringLiteral("preferencesWindow"));
        m_window->resize(620, 420);
        m_contentView = new QWidget(m_window);
        auto *layout = new QVBoxLayout(m_window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_contentView);
    }
    return m_window;
}

QWidget *PreferencesWindowController::contentView()
{
    window();
    return m_contentView;
}

void PreferencesWindowController::showWindow()
{
    window()->show();
    m_window->raise();
}

void PreferencesWindowController::restoreWindowPosition()
{
    FrameGeometry::centerOver(window(), nullptr);
}

void PreferencesWindowController::dismissController()
{
    if (m_window)
        m_window->close();
}
