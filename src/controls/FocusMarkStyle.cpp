#include "controls/FocusMarkStyle.h"

#include <QAbstractButton>
#include <QPainter>
#include <QStyleOption>

#include "controls/ControlStyles.h"

FocusMarkStyle::FocusMarkStyle(QStyle *base)
    : QProxyStyle(base)
{
}

bool FocusMarkStyle::showsFocus(const QStyleOption *option)
{
    return option && (option->state & State_HasFocus) && (option->state & State_KeyboardFocusChange);
}

void FocusMarkStyle::drawPrimitive(
    PrimitiveElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    if (element != PE_FrameFocusRect) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    if (!(option->state & State_KeyboardFocusChange)
        || (widget && widget->property(ControlStyles::kOwnFocusMark).toBool()))
        return;
    // A check box's or radio button's frame lies a pixel or two around its text: a full-width mark
    // would cover the letters' edges.
    const bool aroundLabel = qobject_cast<const QAbstractButton *>(widget) != nullptr;
    ControlStyles::drawFocusMark(*painter, option->rect, aroundLabel ? 1 : 2);
}

void FocusMarkStyle::drawControl(
    ControlElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    // The base style shows a focused push button only by the outline a default button has too.
    if (element == CE_PushButtonBevel && showsFocus(option))
        ControlStyles::drawFocusMark(*painter, option->rect);
}

void FocusMarkStyle::drawComplexControl(
    ComplexControl control, const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const
{
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control == CC_ComboBox && showsFocus(option))
        ControlStyles::drawFocusMark(*painter, option->rect);
}
