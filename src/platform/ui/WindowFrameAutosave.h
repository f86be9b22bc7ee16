// Keeps a window's frame in the settings store under one key: saved a moment after every move or
// resize, and when the window hides; restored on request.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QWidget;

class WindowFrameAutosave : public QObject
{
    Q_OBJECT
public:
    // Watches `window` (which owns this object) from now on.
    WindowFrameAutosave(QWidget *window, const QString &key);

    // Gives the window its saved frame; false when none was saved. A frame saved on a screen that
    // is gone, or on a larger one, comes back whole on a present one; saved or not, the frame is
    // kept on the screen once the window manager has put its title bar and edges around it.
    bool restore();
    void save();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The window is shown and its title bar and edges are known.
    bool isFramed() const;

    QPointer<QWidget> m_window;
    QString m_key;
    QTimer m_saveTimer;
    bool m_fitWhenFramed = false;
};
