// The light grey, narrower variant of CustomScrollView.
#pragma once

#include "controls/CustomScrollView.h"

class CustomScrollViewDefault : public CustomScrollView
{
    Q_OBJECT

public:
    using CustomScrollView::CustomScrollView;

    QRectF knobRectFor(const QRectF &knobPart) const override;
    QColor knobColor() const override { return QColor(170, 170, 170); }
};
