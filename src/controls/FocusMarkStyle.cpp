#include "controls/FocusMarkStyle.h"

#include <QPainter>
#include <QStyleOption>

#include "controls/ControlStyles.h"

FocusMarkStyle::FocusMarkStyle(QStyle *base)
    : QProxyStyle(base)
{
}

void FocusMarkStyle::drawPrimitive(
    PrimitiveElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    if (element != PE_FrameFocusRect) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // As the base style: only once the keyboard has moved the focus, not after a click.
    if (option->state & State_KeyboardFocusChange)
        ControlStyles::drawFocusMark(*painter, option->rect);
}
