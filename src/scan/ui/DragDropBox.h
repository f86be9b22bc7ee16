// The box of the main window onto which folders and photo files are dragged from a file manager.
// It keeps the folders and the files of enabled types and posts them as "FileDragDropNotification".
#pragma once

#include <QFrame>
#include <QPointer>
#include <QStringList>

class MainViewController;

class DragDropBox : public QFrame
{
    Q_OBJECT
public:
    explicit DragDropBox(QWidget *parent = nullptr);

    void setController(MainViewController *controller) { m_controller = controller; }
    // Filters the dropped paths and posts the kept ones; false when the drop carried no paths.
    bool acceptDroppedPaths(const QStringList &paths);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QPointer<MainViewController> m_controller;
};
