// Draws each row of the results list as its cell (a CustomCell made for the row) over the row's
// colour, keeping the drawn rows for the next repaint, and turns a click on a file row's check box into the
// check-box action.
#pragma once

#include <functional>
#include <memory>

#include <QCache>
#include <QPixmap>
#include <QStyledItemDelegate>

#include "results/ListColumns.h"

class ImageFileInfo;
class OutlineListModel;

class OutlineListDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    OutlineListDelegate(OutlineListModel &model, QObject *parent = nullptr);

    std::function<void(const std::shared_ptr<ImageFileInfo> &)> checkBoxTapped;

    void paint(
        QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
        const QModelIndex &index) override;

    // Drops the drawn rows (the groups were re-read).
    void clearCache();
    // The width the type column's title needs; the rows' columns follow it.
    void setTypeTitleWidth(int width);

private:
    static constexpr int kCachedRows = 400;
    QString cacheKey(const QModelIndex &index, int width, qreal ratio) const;
    // Draws the row's cell and keeps the picture under `key`.
    void paintCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index,
        const QString &key, qreal ratio) const;

    OutlineListModel &m_model;
    int m_typeTitleWidth = 0;
    // Drawn rows, reused while a row's look cannot have changed.
    mutable QCache<QString, QPixmap> m_cells;
};
