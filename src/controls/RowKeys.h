// The keys of a list read row by row rather than cell by cell. Home and End go to its first and
// last row (a table's own Home and End only cross the current row). A list that selects nothing
// has no current row to show, so there the arrow and page keys, Home and End scroll the view.
#pragma once

#include <QObject>

class QAbstractItemView;
class QKeyEvent;

class RowKeys : public QObject
{
    Q_OBJECT
public:
    // Answers those keys of `view` (which owns the object) from now on.
    static RowKeys *install(QAbstractItemView *view);
    // Does what `event` asks of `view`; false (nothing done) for a key it leaves to the view.
    static bool press(QAbstractItemView *view, const QKeyEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit RowKeys(QAbstractItemView *view);
};
