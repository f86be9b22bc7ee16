// The two ways of offering the panes in the toolbar, and the receiver of the user's choice.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QAction;

// Receives the pane the user picked; the tab controller implements it.
class PreferencesStyleControllerDelegate : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    // The first pane whose identifier is `identifier`, else the first pane.
    virtual void activatePane(const QString &identifier, bool animated) = 0;
    virtual void activatePane(int index, bool animated) = 0;
};

class PreferencesStyleController : public QObject
{
    Q_OBJECT
public:
    // The toolbar identifier of a stretching gap; the tab controller answers it itself.
    static inline const QString kFlexibleSpaceIdentifier = QStringLiteral("NSToolbarFlexibleSpaceItem");

    using QObject::QObject;

    // Held weakly: once the delegate is gone, the user's choice does nothing.
    PreferencesStyleControllerDelegate *delegate() const { return m_delegate; }
    void setDelegate(PreferencesStyleControllerDelegate *delegate) { m_delegate = delegate; }

    // Whether a window resize keeps the window's horizontal centre.
    virtual bool keepsWindowCentered() const = 0;
    virtual QStringList toolbarItemIdentifiers() const = 0;
    // A new toolbar action for one of toolbarItemIdentifiers() (not the flexible space).
    virtual QAction *toolbarItem(const QString &identifier, QObject *parent) = 0;
    virtual void selectPane(int index) = 0;

private:
    QPointer<PreferencesStyleControllerDelegate> m_delegate;
};
