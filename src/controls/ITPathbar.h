// A path shown as a row of components, one per level, each with its name: a folder icon for the
// folders, the icon of the file's type for the file at its end. Icons are told by name and kind, never
// by looking at the file system. The results window sets the path of the selected photo or clears it.
#pragma once

#include <memory>

#include <QList>
#include <QWidget>

#include "controls/ITPathbarCell.h"
#include "controls/ITPathbarComponentCell.h"

class ITPathbar : public QWidget
{
    Q_OBJECT

public:
    explicit ITPathbar(QWidget *parent = nullptr);
    ~ITPathbar() override;

    // Shows the "/"-separated `path` of a file: one component per non-empty part, in order.
    void setPathToPathController(const QString &path);
    // The same, its last component titled `lastTitle` (the file's name as the lists show it, a
    // library item's name as imported, say) while it still stands for `path`; "" keeps the path's.
    void setPathToPathController(const QString &path, const QString &lastTitle);
    // Removes every component and empties the cumulative path.
    void removePath();
    void addItemWithTitle(const QString &title);
    // Inserts a folder component at `index` (clamped to the list); the cumulative path grows at its end
    // whatever the index, so components are meant to be added in path order. "" adds nothing.
    void insertItemWithTitle(const QString &title, qint64 index);
    // Out-of-range indexes are ignored.
    void removeItemAtIndex(qint64 index);
    void removeLastItem();
    void setPathValue(const QString &path) { m_pathStr = path; }
    const QString &pathStr() const { return m_pathStr; }

    QList<ITPathbarComponentCell> mutablePathComponentCells() const { return m_cells; }
    void setPathComponentCells(const QList<ITPathbarComponentCell> &cells);
    // Where each component is drawn at the current size.
    QList<QRectF> componentRects() const;

    // No intrinsic size: the window's layout decides.
    QSize sizeHint() const override { return QSize(); }

protected:
    void setCell(std::unique_ptr<ITPathbarCell> cell) { m_cell = std::move(cell); }
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_pathStr;
    QList<ITPathbarComponentCell> m_cells;
    std::unique_ptr<ITPathbarCell> m_cell;
};
