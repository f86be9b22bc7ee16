// The application's style: the base style's looks, with its faint focus frames (push buttons,
// combo boxes, check boxes, the current item of a list) drawn as the windows' own focus mark, which
// stands out on light and dark backgrounds and in selected rows alike.
#pragma once

#include <QProxyStyle>

class FocusMarkStyle : public QProxyStyle
{
    Q_OBJECT
public:
    // Takes ownership of `base`.
    explicit FocusMarkStyle(QStyle *base);

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
        const QWidget *widget) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
        const QWidget *widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
        const QWidget *widget) const override;

private:
    // As the base style: only once the keyboard has moved the focus, not after a click.
    static bool showsFocus(const QStyleOption *option);
};
