// The main window's interface: makes every control of the main view and of its sheets at its
// English frame and connects the controller's outlets and actions.
#pragma once

#include <QHash>
#include <QString>

class MainViewController;
class QWidget;

class MainWindowInterface
{
public:
    // Builds the view and the sheets for `controller`; returns the view.
    static QWidget *load(MainViewController &controller);
    // Puts the children of `container` back at their frames (after the container changed height,
    // children keep their distance from its bottom edge).
    static void placeChildren(QWidget *container);

    template <typename T> T *make(const QString &name);

private:
    explicit MainWindowInterface(MainViewController &controller)
        : m_controller(controller)
    {
    }
    QWidget *registerWidget(QWidget *widget, const QString &name);
    QWidget *makeWindow(const QString &name);
    void buildScanList();
    void buildOptions();
    void buildProgressSheet();
    void buildCloudSheets();
    void buildMenus();
    void connectActions();

    MainViewController &m_controller;
    QHash<QString, QWidget *> m_widgets;
};
