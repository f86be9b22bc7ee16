// Draws each row of the scan list as its cell (check box, icon, path, delete button) and answers
// what those parts do by mouse and keyboard: no widget is made for a row, so a list of any length
// costs no more widgets than an empty one.
#pragma once

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

#include "scan/ui/ScanListTable.h"

class QKeyEvent;

class ScanListDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // The parts of a row that answer a click.
    enum class Part { None, Box, Delete };

    explicit ScanListDelegate(QObject *parent = nullptr);

    // What a tick and a removal do; the latest list's.
    void setActions(const ScanListTable::Actions &actions) { m_actions = actions; }
    // Answers Space (ticks the row `current` of `model`) and Delete or Backspace (removes it); false
    // for any other key, left to the list.
    bool pressKey(QAbstractItemModel *model, const QModelIndex &current, const QKeyEvent *event) const;
    // Where `part` lies in the row drawn at `row`, in the view `view`'s style.
    static QRect partRect(const QRect &row, Part part, const QWidget *view);

    void paint(
        QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
        const QModelIndex &index) override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
        const QModelIndex &index) override;

private:
    static Part partAt(const QRect &row, const QPoint &at, const QWidget *view);
    void tick(QAbstractItemModel *model, const QModelIndex &index) const;
    void remove(const QModelIndex &index) const;

    ScanListTable::Actions m_actions;
    // The row and part a press began on: a click is a press and a release on the same part.
    QPersistentModelIndex m_pressedRow;
    Part m_pressedPart = Part::None;
};
