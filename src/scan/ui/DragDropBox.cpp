#include "scan/ui/DragDropBox.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "platform/NotificationCenter.h"

namespace
{

QStringList localPaths(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls())
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    return paths;
}

} // namespace

DragDropBox::DragDropBox(QWidget *parent)
    : QFrame(parent)
{
    setAcceptDrops(true);
}

void DragDropBox::dragEnterEvent(QDragEnterEvent *event)
{
    if (localPaths(event->mimeData()).isEmpty() || !(event->possibleActions() & Qt::CopyAction))
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DragDropBox::dragMoveEvent(QDragMoveEvent *event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DragDropBox::dropEvent(QDropEvent *event)
{
    if (acceptDroppedPaths(localPaths(event->mimeData()))) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

bool DragDropBox::acceptDroppedPaths(const QStringList &paths)
{
    if (paths.isEmpty())
        return false;
    NotificationCenter::defaultCenter().post(
        QStringLiteral("FileDragDropNotification"), { { QStringLiteral("paths"), paths } });
    return true;
}
