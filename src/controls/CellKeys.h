// The keys of a list whose rows carry their controls in CustomCells, in any column: Space ticks
// the current row's box and Delete (or Backspace) presses its delete button. The list is one
// stop of the Tab key; the controls in its cells never take the focus themselves.
#pragma once

#include <QObject>

class QAbstractButton;
class QAbstractItemView;
class QKeyEvent;

class CellKeys : public QObject
{
    Q_OBJECT
public:
    // Answers those keys of `view` (which owns the object) from now on.
    static CellKeys *install(QAbstractItemView *view);
    // The button of the current row that `event` presses; null when it presses none.
    static QAbstractButton *buttonFor(const QAbstractItemView *view, const QKeyEvent *event);
    // Clicks the button `event` presses; false (nothing done) when there is none or it is disabled.
    static bool press(const QAbstractItemView *view, const QKeyEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit CellKeys(QAbstractItemView *view);
};
