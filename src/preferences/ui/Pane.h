// A pane described as a value: its identifier, title, toolbar icon and the recipe for its content,
// typically a PaneContainer of sections. The window turns it into a PaneHostingController.
#pragma once

#include <functional>

#include <QIcon>
#include <QString>

#include "preferences/PaneIdentifier.h"
#include "preferences/ui/PreferencePaneConvertible.h"

class QWidget;

namespace Preferences
{

class Pane : public PreferencePaneConvertible
{
public:
    // Builds the pane's content; called once for each pane made from this value, when that pane's
    // view is first needed (widgets cannot be shared between panes as values can).
    using ContentView = std::function<QWidget *()>;

    Pane(PaneIdentifier identifier, QString title, QIcon toolbarIcon, ContentView contentView);

    PaneIdentifier identifier;
    QString title;
    QIcon toolbarIcon;
    ContentView content;

    // A new PaneHostingController showing this pane's content.
    std::shared_ptr<PreferencePane> asPreferencePane() override;
};

} // namespace Preferences
