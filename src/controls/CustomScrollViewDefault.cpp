// Light grey scroll bar.
#include "controls/CustomScrollViewDefault.h"

QRectF CustomScrollViewDefault::knobRectFor(const QRectF &k) const
{
    return QRectF(k.x() + 2, k.y(), k.width() - 5, k.height());
}
