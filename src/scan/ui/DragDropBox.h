// The box of the main window onto which folders and photo files are dragged from a file manager.
// It keeps the folders and the files of enabled types and posts them as "FileDragDropNotification".
#pragma once

#include <functional>
#include <optional>

#include <QFrame>
#include <QStringList>


class DragDropBox : public QFrame
{
    Q_OBJECT
public:
    explicit DragDropBox(QWidget *parent = nullptr);

    // The extensions a drop keeps, read afresh for each drop; none when the scan list has gone.
    void setAllowedExtensions(std::function<std::optional<QStringList>()> allowedExtensions)
    {
        m_allowedExtensions = std::move(allowedExtensions);
    }
    // Filters the dropped paths and posts the kept ones; false when the drop carried no paths.
    bool acceptDroppedPaths(const QStringList &paths);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    std::function<std::optional<QStringList>()> m_allowedExtensions;
};
