// A preferences pane whose view holds content built from the pane building blocks, edge to edge;
// the content's own size hint is the pane's fitting size.
#pragma once

#include "preferences/ui/Pane.h"
#include "preferences/ui/PreferencePane.h"

namespace Preferences
{

class PaneHostingController : public PreferencePane
{
    Q_OBJECT
public:
    PaneHostingController(PaneIdentifier identifier, QString title, QIcon toolbarIcon,
        Pane::ContentView content, QObject *parent = nullptr);
    explicit PaneHostingController(const Pane &pane, QObject *parent = nullptr);

    // The hosted content; null until the view is first needed.
    QWidget *content() const { return m_hosted; }

protected:
    void viewDidLoad() override;

private:
    Pane::ContentView m_content;
    QWidget *m_hosted = nullptr;
};

} // namespace Preferences
