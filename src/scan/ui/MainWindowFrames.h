// The English layout of the main window and its sheets: every control's frame in its container,
// measured from the container's bottom-left corner. The language layout pass adjusts these.
#pragma once

#include <QList>
#include <QRectF>
#include <QString>

struct InterfaceFrame {
    QString name;
    // The container, itself an entry; "" for the main view and the sheet windows.
    QString parent;
    QRectF frame;
};

class MainWindowFrames
{
public:
    static const QList<InterfaceFrame> &entries();
    // The frame of `name` (a null rectangle for an unknown name).
    static QRectF frame(const QString &name);
    static QString parentOf(const QString &name);
    // The entries whose container is `parent`, in table order.
    static QList<InterfaceFrame> children(const QString &parent);
};
