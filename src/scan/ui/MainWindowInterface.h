// The main window's interface: makes every control of the main view and of its sheets at its
// English frame and fills the widgets' pointers.
#pragma once

#include <QHash>
#include <QString>

struct MainWindowWidgets;
class QWidget;

class MainWindowInterface
{
public:
    // Builds the view and the sheets into `controller`'s widgets; returns the view.
    static QWidget *load(MainWindowWidgets &controller);
    // Puts the children of `container` back at their frames (after the container changed height,
    // children keep their distance from its bottom edge).
    static void placeChildren(QWidget *container);

    template <typename T> T *make(const QString &name);

private:
    explicit MainWindowInterface(MainWindowWidgets &controller)
        : m_controller(controller)
    {
    }
    QWidget *registerWidget(QWidget *widget, const QString &name);
    QWidget *makeWindow(const QString &name);
    // Tab's way through the window and the button Return presses.
    void setKeyboardOrder();
    void buildScanList();
    void buildOptions();
    void buildProgressSheet();
    void buildCloudSheets();
    void buildMenus();

    MainWindowWidgets &m_controller;
    QHash<QString, QWidget *> m_widgets;
};
