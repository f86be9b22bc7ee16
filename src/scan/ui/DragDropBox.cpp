#include "scan/ui/DragDropBox.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "platform/NotificationCenter.h"
#include "scan/ui/MainViewController.h"
#include "scan/ui/ScanListController.h"
#include "scan/ui/ScanListRules.h"

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
    if (paths.isEmpty() || !m_controller)
        return false;
    m_controller->scanList().loadAllowedExtensions();
    const QStringList kept = ScanListRules::acceptDroppedPaths(paths, m_controller->allowedExtensions);
    if (!kept.isEmpty())
        NotificationCenter::defaultCenter().post(
            QStringLiteral("FileDragDropNotification"), { { QStringLiteral("paths"), kept } });
    return true;
}
