// One labelled row of a PaneContainer: a label, the setting's controls and an optional divider
// below it.
#pragma once

#include <QString>

class QWidget;

struct PaneSection {
    QWidget *label = nullptr;
    QWidget *content = nullptr;
    bool bottomDivider = false;

    // A section whose label is `title` in the 13-pixel system font.
    static PaneSection titled(const QString &title, QWidget *content, bool bottomDivider = false);
};
