#include "results/ui/MarkRefusalTip.h"

#include <QToolTip>
#include <QWidget>

void MarkRefusalTip::show(ManualMarking::Refusal refusal, QWidget *near)
{
    const QString text = ManualMarking::refusalText(refusal);
    if (text.isEmpty() || !near)
        return;
    const QRect area = near->rect();
    QToolTip::showText(near->mapToGlobal(area.bottomLeft()), text, near);
}
