// Hands the key presses of a widget to a function before the widget sees them; the widget gets
// those the function leaves (answers false for).
#pragma once

#include <functional>

#include <QObject>

class QKeyEvent;
class QWidget;

class KeyPressFilter : public QObject
{
    Q_OBJECT
public:
    using Press = std::function<bool(const QKeyEvent *)>;

    // From now on; `widget` owns the filter.
    static KeyPressFilter *install(QWidget *widget, Press press);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyPressFilter(QWidget *widget, Press press);

    Press m_press;
};
