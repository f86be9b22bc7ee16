// The preferences window: closable (also by Escape), not resizable, its toolbar never offered for
// hiding, and able to pause the user's input (clicks, keys, scrolling, gestures) while keeping hover
// and moves.
#pragma once

#include <QMainWindow>
#include <QString>

class UserInteractionPausableWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit UserInteractionPausableWindow(QWidget *parent = nullptr);
    ~UserInteractionPausableWindow() override;

    bool isUserInteractionEnabled() const { return m_userInteractionEnabled; }
    void setUserInteractionEnabled(bool enabled);
    // Whether `event` is one of the user's inputs that a paused window drops.
    static bool isUserInteractionEvent(const QEvent *event);

    // The title the window carries; shown only while the title is visible.
    QString title() const { return m_title; }
    void setTitle(const QString &title);
    bool isTitleVisible() const { return m_titleVisible; }
    void setTitleVisible(bool visible);

    // No toolbar toggle menu: the toolbar's visibility is the controller's to decide.
    QMenu *createPopupMenu() override { return nullptr; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Escape closes the window once no control in it has taken the key: an open drop-down list
    // closes itself first and keeps the window open.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void applyTitle();

    bool m_userInteractionEnabled = true;
    bool m_titleVisible = true;
    QString m_title;
};
