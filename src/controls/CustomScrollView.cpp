// Custom scroll bar.
#include "controls/CustomScrollView.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionSlider>

CustomScrollView::CustomScrollView(Qt::Orientation orientation, QWidget *parent)
    : QScrollBar(orientation, parent)
{
    setAttribute(Qt::WA_Hover);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void CustomScrollView::setScrollerStyle(ScrollerStyle style)
{
    m_style = style;
    update();
}

QRectF CustomScrollView::knobPartRect() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
}

QRectF CustomScrollView::knobRectFor(const QRectF &k) const
{
    return QRectF(k.x() + 1, k.y(), k.width() - 2, k.height());
}

void CustomScrollView::paintEvent(QPaintEvent *event)
{
    if (m_style == ScrollerStyle::Overlay) {
        m_drewSlot = m_isHighlight;
        if (m_isHighlight) {
            QScrollBar::paintEvent(event);
            return;
        }
        QPainter painter(this);
        QStyleOptionSlider option;
        initStyleOption(&option);
        option.subControls = QStyle::SC_ScrollBarSlider;
        style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, this);
        return;
    }
    // Legacy: no slot and no arrows, whether or not the mouse is over the scroll bar.
    m_drewSlot = false;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath knob;
    knob.addRoundedRect(knobRectFor(knobPartRect()), 5, 5);
    painter.fillPath(knob, knobColor());
}

void CustomScrollView::enterEvent(QEnterEvent *event)
{
    QScrollBar::enterEvent(event);
    m_isHighlight = true;
    update();
}

void CustomScrollView::leaveEvent(QEvent *event)
{
    QScrollBar::leaveEvent(event);
    m_isHighlight = false;
    update();
}
