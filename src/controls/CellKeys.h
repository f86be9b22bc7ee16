// The keys of a list whose rows carry their controls in CustomCells, in any column: Space ticks
// the current row's box and Delete (or Backspace) presses its delete button. The list is one
// stop of the Tab key; the controls in its cells never take the focus themselves.
#pragma once

class QAbstractButton;
class QAbstractItemView;
class QKeyEvent;
class QModelIndex;

class CellKeys
{
public:
    // Answers those keys of `view` from now on.
    static void install(QAbstractItemView *view);
    // The button of the current row that `event` presses; null when it presses none.
    static QAbstractButton *buttonFor(const QAbstractItemView *view, const QKeyEvent *event);
    // Clicks the button `event` presses; false (nothing done) when there is none or it is disabled.
    static bool press(const QAbstractItemView *view, const QKeyEvent *event);
    // A press on `button`, the box of the cell at `index`, makes that row current, so the keys go on
    // from the row the user clicked, not from the one current before.
    static void followPresses(QAbstractItemView *view, const QModelIndex &index, QAbstractButton *button);
};
