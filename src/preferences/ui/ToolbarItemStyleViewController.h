// The toolbar style: one checkable toolbar action per pane, icon above title, exactly one checked.
#pragma once

#include <memory>
#include <vector>

#include <QActionGroup>
#include <QPointer>
#include <QToolBar>

#include "preferences/ui/PreferencesStyleController.h"

class PreferencePane;

class ToolbarItemStyleViewController : public PreferencesStyleController
{
    Q_OBJECT
public:
    ToolbarItemStyleViewController(
        QToolBar *toolbar, bool centerToolbarItems, std::vector<std::shared_ptr<PreferencePane>> panes);

    bool keepsWindowCentered() const override { return false; }
    QStringList toolbarItemIdentifiers() const override;
    QAction *toolbarItem(const QString &identifier, QObject *parent) override;
    void selectPane(int index) override;

    void toolbarItemSelected(QAction *item);

    QToolBar *toolbar() const { return m_toolbar; }
    bool centerToolbarItems() const { return m_centerToolbarItems; }

private:
    QPointer<QToolBar> m_toolbar;
    bool m_centerToolbarItems;
    std::vector<std::shared_ptr<PreferencePane>> m_preferencePanes;
    QPointer<QActionGroup> m_group;
};
