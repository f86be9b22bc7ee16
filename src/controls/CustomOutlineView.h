// The results window's list of groups: always fully expanded, without disclosure triangles or
// indentation, its first column spanning the view less 10 pixels each side.
#pragma once

#include <QList>
#include <QTreeView>

class CustomOutlineView : public QTreeView
{
    Q_OBJECT

public:
    explicit CustomOutlineView(QWidget *parent = nullptr);

    // Scrolls `index` into view with the title of its group above it, as far as both fit: a file
    // scrolled to from below would otherwise stand at the top with its title out of view.
    void scrollToWithGroupTitle(const QModelIndex &index);

    static constexpr int kCellInset = 10;

    void setModel(QAbstractItemModel *model) override;
    // Column 0 spans the view less kCellInset on each side, whatever the row's level; the rows
    // are drawn there, and clicks are read against the same rectangle.
    QRect visualRect(const QModelIndex &index) const override;
    // Where the cells of the rows start in the viewport, and how wide they are.
    int cellLeft() const;
    int cellWidth() const;

protected:
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    // The keys move over rows that can be selected only (a group's title row cannot).
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    // Shift+F10 asks for the current row's context menu, as the Menu key does.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void expandEverything();

    QList<QMetaObject::Connection> m_modelConnections;
};
