// Borderless sheet window.
#include "controls/CustomWindowNag.h"

CustomWindowNag::CustomWindowNag(QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, borderless(flags))
{
    setWindowModality(Qt::WindowModal);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_ShowWithoutActivating, false);
}

void CustomWindowNag::setWindowFlags(Qt::WindowFlags flags)
{
    QWidget::setWindowFlags(borderless(flags));
}

Qt::WindowFlags CustomWindowNag::borderless(Qt::WindowFlags flags)
{
    const Qt::WindowFlags frameHints = Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint
        | Qt::WindowShadeButtonHint | Qt::CustomizeWindowHint;
    return (flags & ~frameHints & ~Qt::WindowType_Mask) | Qt::Dialog | Qt::FramelessWindowHint;
}
