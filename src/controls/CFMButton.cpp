// Rounded gradient button.
#include "controls/CFMButton.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "controls/ControlFonts.h"
#include "controls/ControlStyles.h"

CFMButton::CFMButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void CFMButton::setButtonInsideColor(const QColor &inside, const QColor &disabledInside,
    const QColor &textEnabled, const QColor &textDisabled, const QColor &borderEnabled,
    const QColor &borderDisabled, double radius, int fontSize, bool isLight, bool isBold,
    double outerLineWidth)
{
    m_cell.setButtonInsideColor(inside, disabledInside, textEnabled, textDisabled, borderEnabled,
        borderDisabled, radius, fontSize, isLight, isBold, outerLineWidth);
    update();
}

void CFMButton::setButtonCursor(const std::optional<QCursor> &cursor)
{
    setCursor(cursor ? *cursor : QCursor(Qt::PointingHandCursor));
}

QFont CFMButton::titleFont() const
{
    if (m_cell.textFontSize() < 1)
        return font();
    const QFont::Weight weight = m_cell.isBoldFont() ? QFont::Bold
        : m_cell.isLightFont()                       ? QFont::Light
                                                     : QFont::Normal;
    return ControlFonts::systemFont(m_cell.textFontSize(), weight);
}

QSize CFMButton::sizeHint() const
{
    const QFontMetrics metrics(titleFont());
    return QSize(metrics.horizontalAdvance(text()) + 24, metrics.height() + 12);
}

void CFMButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_cell.drawBezelWithFrame(painter, rect(), isEnabled(), isDown());
    m_cell.drawTitle(painter, text(), titleFont(), rect(), isEnabled());
    if (hasFocus())
        ControlStyles::drawFocusMark(painter, rect(), 2,
            ControlStyles::focusMarkColorOn({ m_cell.getColorForButtonType(isEnabled()) }));
}

void CFMButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QAbstractButton::mousePressEvent(event);
}

void CFMButton::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
}
