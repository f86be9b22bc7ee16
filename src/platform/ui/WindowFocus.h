// Gives a window the keyboard as it opens. A window manager may keep the focus on the window behind
// (focus-stealing rules, a window mapped a moment late), so the request is made again, briefly,
// until the window is active, it is hidden, another modal window opens over it, the user picks
// another of the windows, or the tries run out.
#pragma once

class QWidget;

class WindowFocus
{
public:
    static constexpr int kTries = 20;
    static constexpr int kTryIntervalMs = 50;

    // Raises and activates the top-level `window` now and again until it is the active window.
    static void take(QWidget *window);
};
