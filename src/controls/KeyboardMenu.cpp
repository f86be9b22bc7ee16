#include "controls/KeyboardMenu.h"

#include <QAction>
#include <QMenu>

void KeyboardMenu::popup(QMenu *menu, const QPoint &globalPosition, bool byKeyboard)
{
    if (!menu)
        return;
    // The menu's own validation runs as it opens, so the items are asked once they are current.
    menu->popup(globalPosition);
    if (byKeyboard)
        menu->setActiveAction(firstEnabledAction(*menu));
}

QAction *KeyboardMenu::firstEnabledAction(const QMenu &menu)
{
    for (QAction *item : menu.actions()) {
        if (item->isVisible() && item->isEnabled() && !item->isSeparator())
            return item;
    }
    return nullptr;
}
