// The box of the main window onto which folders and photo files are dragged from a file manager.
// It posts every dropped item as "FileDragDropNotification": the scan list decides what each one
// becomes, and its report names the items it could not add.
#pragma once

#include <QFrame>
#include <QStringList>

class DragDropBox : public QFrame
{
    Q_OBJECT
public:
    explicit DragDropBox(QWidget *parent = nullptr);

    // Posts the dropped paths; false when the drop carried none.
    bool acceptDroppedPaths(const QStringList &paths);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};
