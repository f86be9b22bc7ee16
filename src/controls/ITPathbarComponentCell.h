// One component of a path bar: the name of one folder level with the icon of the folder or file
// that the path up to that level names, drawn in white.
#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

class QFont;
class QPainter;
class QRectF;

class ITPathbarComponentCell
{
public:
    ITPathbarComponentCell() = default;
    ITPathbarComponentCell(const QString &title, const QString &path, const QIcon &icon);

    const QString &title() const { return m_title; }
    // The cumulative path this component stands for.
    const QString &path() const { return m_path; }
    const QIcon &image() const { return m_image; }
    QColor textColor() const { return Qt::white; }

    static constexpr int kIconSize = 16;
    static constexpr int kIconGap = 4;
    // Width with its title, and with its icon only.
    qreal fullWidth(const QFont &font) const;
    static qreal iconOnlyWidth() { return kIconSize; }
    // The least width it is given while it is shown: its icon and the start of its name with "…" (the
    // whole name when that is shorter).
    qreal shortestWidth(const QFont &font) const;
    // Letters of a name kept at the shortest width.
    static constexpr int kShortestLetters = 3;
    // Draws the icon and, when the rectangle leaves room, the title elided to fit as `elide` says (a
    // folder keeps the start of its name, a file its start and its extension).
    void draw(QPainter &painter, const QRectF &rect, const QFont &font,
        Qt::TextElideMode elide = Qt::ElideMiddle) const;

private:
    QString m_title;
    QString m_path;
    QIcon m_image;
};
