// What every preferences pane provides: its identifier, title, toolbar icon and view. The view is
// made on first use; the pane announces each time it is about to appear so its owner can fit the
// window to it.
#pragma once

#include <functional>
#include <memory>

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

#include "preferences/PaneIdentifier.h"
#include "preferences/ui/PreferencePaneConvertible.h"

class CustomCell;

class PreferencePane : public QObject,
                       public PreferencePaneConvertible,
                       public std::enable_shared_from_this<PreferencePane>
{
    Q_OBJECT
public:
    // The property under which the controls of a table cell keep the row they stand for.
    static constexpr const char *kRowProperty = "row";

    PreferencePane(
        Preferences::PaneIdentifier identifier, QString title, QIcon icon, QObject *parent = nullptr);
    ~PreferencePane() override;

    const Preferences::PaneIdentifier &preferencePaneIdentifier() const { return m_preferencePaneIdentifier; }
    const QString &preferencePaneTitle() const { return m_preferencePaneTitle; }
    const QIcon &toolbarItemIcon() const { return m_toolbarItemIcon; }

    // The toolbar item's name: exactly the identifier's raw value.
    QString toolbarItemIdentifier() const { return preferencePaneIdentifier().rawValue(); }

    // A pane is already a pane: itself, when shared ownership holds it (null otherwise).
    std::shared_ptr<PreferencePane> asPreferencePane() override { return weak_from_this().lock(); }

    // The pane's view, made and set up on the first call.
    QWidget *view();
    // The size the view asks for: its size hint, at least its minimum size.
    QSize fittingSize();
    // The size the window gives the pane when it is shown with a resize; its layout still fits
    // the pane into whatever size a switch without resize leaves it.
    void setPreferredSize(const QSize &size);

signals:
    void viewWillAppear();

protected:
    // Fills the empty view made on first use.
    virtual void viewDidLoad() { }
    // A toolbar icon from the application's artwork.
    static QIcon bundleIcon(const QString &name);
    // Calls `reload` whenever the settings are reset to their defaults, for the pane's life.
    void observeResetToDefaults(std::function<void()> reload);
    // A table cell holding one centred check box that keeps its row under kRowProperty.
    static CustomCell *makeCheckBoxCell(bool checked, int row);
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *loadView();

    const Preferences::PaneIdentifier m_preferencePaneIdentifier;
    const QString m_preferencePaneTitle;
    const QIcon m_toolbarItemIcon;
    QPointer<QWidget> m_view;
};
