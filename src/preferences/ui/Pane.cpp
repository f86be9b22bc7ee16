#include "preferences/ui/Pane.h"

#include "preferences/ui/PaneHostingController.h"

namespace Preferences
{

Pane::Pane(PaneIdentifier identifier, QString title, QIcon toolbarIcon, ContentView contentView)
    : identifier(std::move(identifier))
    , title(std::move(title))
    , toolbarIcon(std::move(toolbarIcon))
    , content(std::move(contentView))
{
}

std::shared_ptr<PreferencePane> Pane::asPreferencePane()
{
    return std::make_shared<PaneHostingController>(*this);
}

} // namespace Preferences
