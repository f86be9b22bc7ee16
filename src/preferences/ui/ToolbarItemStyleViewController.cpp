#include "preferences/ui/ToolbarItemStyleViewController.h"

#include <QAction>
#include <QActionGroup>
#include <QToolBar>

#include "preferences/ui/PreferencePane.h"

ToolbarItemStyleViewController::ToolbarItemStyleViewController(
    QToolBar *toolbar, bool centerToolbarItems, std::vector<std::shared_ptr<PreferencePane>> panes)
    : m_toolbar(toolbar)
    , m_centerToolbarItems(centerToolbarItems)
    , m_preferencePanes(std::move(panes))
    , m_group(new QActionGroup(toolbar))
{
    m_group->setExclusive(true);
    if (m_toolbar)
        m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
}

QStringList ToolbarItemStyleViewController::toolbarItemIdentifiers() const
{
    QStringList identifiers;
    for (const auto &pane : m_preferencePanes)
        identifiers.append(pane->toolbarItemIdentifier());
    return identifiers;
}

QAction *ToolbarItemStyleViewController::toolbarItem(const QString &identifier, QObject *parent)
{
    for (const auto &pane : m_preferencePanes) {
        if (pane->preferencePaneIdentifier().rawValue() != identifier)
            continue;
        auto *item = new QAction(pane->toolbarItemIcon(), pane->preferencePaneTitle(), parent);
        item->setObjectName(identifier);
        item->setData(identifier);
        item->setCheckable(true);
        m_group->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] { toolbarItemSelected(item); });
        return item;
    }
    qFatal("No preference pane has the toolbar item identifier \"%s\"", qPrintable(identifier));
}

void ToolbarItemStyleViewController::selectPane(int index)
{
    const QString identifier = m_preferencePanes.at(static_cast<size_t>(index))->toolbarItemIdentifier();
    for (QAction *item : m_group->actions()) {
        if (item->data().toString() == identifier)
            item->setChecked(true);
    }
}

void ToolbarItemStyleViewController::toolbarItemSelected(QAction *item)
{
    if (PreferencesStyleControllerDelegate *receiver = delegate())
        receiver->activatePane(item->data().toString(), true);
}
