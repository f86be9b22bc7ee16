// A flat rounded button drawn by its CFMButtonCell; the windows style it with one call. A right
// click on it is swallowed.
#pragma once

#include <optional>

#include <QAbstractButton>
#include <QCursor>

#include "controls/CFMButtonCell.h"

class CFMButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit CFMButton(QWidget *parent = nullptr);

    // Passes every value to the cell; the font values are applied to the title when the size is
    // at least 1 (light and bold choose the weight).
    void setButtonInsideColor(const QColor &inside, const QColor &disabledInside, const QColor &textEnabled,
        const QColor &textDisabled, const QColor &borderEnabled, const QColor &borderDisabled, double radius,
        int fontSize, bool isLight, bool isBold, double outerLineWidth);

    CFMButtonCell &cell() { return m_cell; }
    const CFMButtonCell &cell() const { return m_cell; }

    // The cursor shown over the button; the pointing hand when none is set.
    void setButtonCursor(const std::optional<QCursor> &cursor);
    // The font the title is drawn in.
    QFont titleFont() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    CFMButtonCell m_cell;
};
