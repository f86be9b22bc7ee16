// The keys of a list read row by row rather than cell by cell. Home and End go to its first and
// last row (a table's own Home and End only cross the current row). A list that selects nothing
// has no current row to show, so there the arrow and page keys, Home and End scroll the view.
#pragma once

class QAbstractItemView;
class QKeyEvent;

class RowKeys
{
public:
    // Answers those keys of `view` from now on.
    static void install(QAbstractItemView *view);
    // Does what `event` asks of `view`; false (nothing done) for a key it leaves to the view.
    static bool press(QAbstractItemView *view, const QKeyEvent *event);
};
