// Return and Escape for a window, a sheet or a view: Return presses the focused push button, else
// the default button; Escape presses the cancel button. Keys reach it only when the focused widget
// has left them, so a list or a field keeps its own keys.
#pragma once

#include <QAbstractButton>
#include <QObject>
#include <QPointer>

class DefaultButtonKeys : public QObject
{
    Q_OBJECT
public:
    // Answers the keys of `area` (which owns the object) from now on.
    static DefaultButtonKeys *install(
        QWidget *area, QAbstractButton *defaultButton, QAbstractButton *cancelButton = nullptr);

    QPointer<QAbstractButton> defaultButton;
    QPointer<QAbstractButton> cancelButton;

    // Clicks `button` when it is enabled and shown (in its window); false otherwise.
    static bool press(QAbstractButton *button);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit DefaultButtonKeys(QWidget *area);
    bool answer(int key);

    QWidget *m_area;
};
