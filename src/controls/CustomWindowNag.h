// Borderless window of the popups and sheets: no title bar or frame whatever it is created with,
// window-modal over its parent, and still able to take keyboard focus.
#pragma once

#include <QWidget>

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
};
