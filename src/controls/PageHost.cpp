#include "controls/PageHost.h"

#include <algorithm>

#include <QChildEvent>

PageHost::PageHost(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("contentView"));
}

void PageHost::layoutPages()
{
    for (QWidget *page : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (page->isWindow())
            continue;
        if (page->minimumSize() == page->maximumSize()) {
            // Never above or left of the host: a window smaller than the page shows its top left.
            const QSize room = size() - page->size();
            page->move(std::max(0, room.width() / 2), std::max(0, room.height() / 2));
        } else {
            page->setGeometry(rect());
        }
    }
}

QSize PageHost::sizeHint() const
{
    QSize hint;
    for (const QWidget *page : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (!page->isWindow() && page->minimumSize() == page->maximumSize())
            hint = hint.expandedTo(page->size());
    return hint;
}

void PageHost::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutPages();
}

void PageHost::childEvent(QChildEvent *event)
{
    QWidget::childEvent(event);
    // A page added now is placed once its owner has finished setting it up.
    if (event->added() && event->child()->isWidgetType())
        QMetaObject::invokeMethod(this, &PageHost::layoutPages, Qt::QueuedConnection);
}
