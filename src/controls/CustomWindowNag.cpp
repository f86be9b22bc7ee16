// Borderless sheet window.
#include "controls/CustomWindowNag.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRadioButton>
#include <QTimer>

#include "controls/DefaultButtonKeys.h"

CustomWindowNag::CustomWindowNag(QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, borderless(flags))
{
    setWindowModality(Qt::WindowModal);
    // The keys reach the window without it taking the focus itself: as a Tab stop it would be one
    // with nothing to mark, and a click on its background would take the focus off its button.
    setFocusPolicy(Qt::NoFocus);
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

void CustomWindowNag::setKeyButtons(QAbstractButton *defaultButton, QAbstractButton *cancelButton)
{
    m_keys = DefaultButtonKeys::install(this, defaultButton, cancelButton);
    if (defaultButton && isVisible() && !isAncestorOf(focusWidget()))
        defaultButton->setFocus(Qt::OtherFocusReason);
}

QAbstractButton *CustomWindowNag::defaultButton() const
{
    return m_keys ? m_keys->defaultButton.data() : nullptr;
}

QAbstractButton *CustomWindowNag::cancelButton() const
{
    return m_keys ? m_keys->cancelButton.data() : nullptr;
}

void CustomWindowNag::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    keepClicksFromTakingFocus();
    // Every opening starts at the default button, wherever the focus was left the last time.
    focusDefaultButton();
}

bool CustomWindowNag::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowUnblocked && isVisible())
        focusDefaultButton();
    return handled;
}

void CustomWindowNag::keyPressEvent(QKeyEvent *event)
{
    if (windowModality() == Qt::NonModal && openOwnersMenu(event))
        return;
    QWidget::keyPressEvent(event);
}

bool CustomWindowNag::openOwnersMenu(const QKeyEvent *event)
{
    if (event->modifiers() != Qt::AltModifier || !parentWidget())
        return false;
    auto *owner = qobject_cast<QMainWindow *>(parentWidget()->window());
    QMenuBar *bar = owner ? owner->menuBar() : nullptr;
    if (!bar || !bar->isVisible() || !bar->isEnabled())
        return false;
    const QKeySequence pressed(event->keyCombination());
    for (QAction *title : bar->actions()) {
        if (!title->isVisible() || !title->isEnabled() || QKeySequence::mnemonic(title->text()) != pressed)
            continue;
        owner->activateWindow();
        bar->setActiveAction(title);
        if (title->menu())
            comeBackWhenMenuCloses(title->menu());
        return true;
    }
    return false;
}

void CustomWindowNag::comeBackWhenMenuCloses(QMenu *menu)
{
    const QSet<QWidget *> shownBefore = visibleWindows();
    connect(
        menu, &QMenu::aboutToHide, this,
        [this, shownBefore] {
            // A chosen item runs before the next turn of the event loop; anything it opened is
            // visible by then and keeps the keys.
            QTimer::singleShot(0, this, [this, shownBefore] {
                if (isVisible() && visibleWindows() == shownBefore && !QApplication::activePopupWidget())
                    activateWindow();
            });
        },
        Qt::SingleShotConnection);
}

QSet<QWidget *> CustomWindowNag::visibleWindows()
{
    QSet<QWidget *> shown;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && !qobject_cast<QMenu *>(widget))
            shown.insert(widget);
    return shown;
}

void CustomWindowNag::focusDefaultButton()
{
    QAbstractButton *button = defaultButton();
    if (button && button->isEnabled())
        button->setFocus(Qt::OtherFocusReason);
}

void CustomWindowNag::keepClicksFromTakingFocus()
{
    // A push button reached by Tab takes Return; one only clicked leaves it to the default button.
    for (QAbstractButton *button : findChildren<QAbstractButton *>()) {
        const bool choice = qobject_cast<QCheckBox *>(button) || qobject_cast<QRadioButton *>(button);
        if (!choice && button->focusPolicy() == Qt::StrongFocus)
            button->setFocusPolicy(Qt::TabFocus);
    }
}
