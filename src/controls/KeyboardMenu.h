// Opens a context menu. One the keyboard opened starts on its first item the keys can reach, as a
// menu bar's menu does, so the highlight shows where Return and the arrow keys act; one the mouse
// opened starts on none, under the pointer.
#pragma once

class QAction;
class QMenu;
class QPoint;

class KeyboardMenu
{
public:
    static void popup(QMenu *menu, const QPoint &globalPosition, bool byKeyboard);
    // The first shown, enabled item that is no separator; null when there is none.
    static QAction *firstEnabledAction(const QMenu &menu);
};
