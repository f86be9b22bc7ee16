#include "preferences/ui/PaneHostingController.h"

#include <QVBoxLayout>

namespace Preferences
{

PaneHostingController::PaneHostingController(
    PaneIdentifier identifier, QString title, QIcon toolbarIcon, Pane::ContentView content, QObject *parent)
    : PreferencePane(std::move(identifier), std::move(title), std::move(toolbarIcon), parent)
    , m_content(std::move(content))
{
}

PaneHostingController::PaneHostingController(const Pane &pane, QObject *parent)
    : PaneHostingController(pane.identifier, pane.title, pane.toolbarIcon, pane.content, parent)
{
}

void PaneHostingController::viewDidLoad()
{
    auto *layout = new QVBoxLayout(view());
    layout->setContentsMargins(0, 0, 0, 0);
    m_hosted = m_content ? m_content() : nullptr;
    if (m_hosted)
        layout->addWidget(m_hosted);
}

} // namespace Preferences
