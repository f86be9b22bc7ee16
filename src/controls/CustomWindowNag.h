// Borderless window of the popups and sheets: no title bar or frame whatever it is created with,
// window-modal over its parent, and still able to take keyboard input, though never a Tab stop
// itself. Return and Escape press its default and cancel buttons; it opens, and comes back from an
// alert over it, with the default button focused, and its push buttons take the focus by Tab only,
// so a mouse click never leaves Return on another button.
#pragma once

#include <QSet>
#include <QWidget>

class DefaultButtonKeys;
class QAbstractButton;
class QMenu;

class CustomWindowNag : public QWidget
{
    Q_OBJECT

public:
    explicit CustomWindowNag(QWidget *parent = nullptr, Qt::WindowFlags flags = {});

    // Borderless windows would otherwise not take keyboard input.
    bool canBecomeKeyWindow() const { return true; }

    // Keeps the window borderless: flags given later lose every frame and title bar hint.
    void setWindowFlags(Qt::WindowFlags flags);
    static Qt::WindowFlags borderless(Qt::WindowFlags flags);

    // The button Return presses (it takes the focus when the window shows) and the one Escape
    // presses; either may be the same button, or none.
    void setKeyButtons(QAbstractButton *defaultButton, QAbstractButton *cancelButton);
    void setCancelButton(QAbstractButton *button) { setKeyButtons(defaultButton(), button); }
    QAbstractButton *defaultButton() const;
    QAbstractButton *cancelButton() const;

protected:
    void showEvent(QShowEvent *event) override;
    // A sheet that leaves its window free passes on that window's menu keys: Alt and the letter of a
    // menu's title open that menu as they would from the window itself.
    void keyPressEvent(QKeyEvent *event) override;
    // An alert over the window has closed: the keys start again at the default button.
    bool event(QEvent *event) override;

private:
    void keepClicksFromTakingFocus();
    void focusDefaultButton();
    bool openOwnersMenu(const QKeyEvent *event);
    // The keys come back here when the menu closes with nothing chosen that opened a window.
    void comeBackWhenMenuCloses(QMenu *menu);
    static QSet<QWidget *> visibleWindows();

    DefaultButtonKeys *m_keys = nullptr;
};
