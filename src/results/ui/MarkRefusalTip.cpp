#include "results/ui/MarkRefusalTip.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QToolTip>

void MarkRefusalTip::show(ManualMarking::Refusal refusal, QWidget *near)
{
    const QString text = ManualMarking::refusalText(refusal);
    if (text.isEmpty() || !near)
        return;
    // In a list, under the row the user acted on, and only until another row becomes current.
    QRect area = near->rect();
    if (auto *list = qobject_cast<QAbstractItemView *>(near); list && list->currentIndex().isValid()) {
        near = list->viewport();
        area = list->visualRect(list->currentIndex());
        QObject::connect(
            list->selectionModel(), &QItemSelectionModel::currentChanged, list, [] { QToolTip::hideText(); },
            Qt::SingleShotConnection);
    }
    QToolTip::showText(near->mapToGlobal(area.bottomLeft()), text, near);
}
