// The one way alerts and sheets are shown. Window code asks AlertPresenter::current(); the program
// uses the window-modal dialogs of GuiAlertPresenter, tests install a ScriptedAlertPresenter, so no
// test ever blocks in a modal loop.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

struct AlertSpec {
    enum class Style { Warning, Informational, Critical };

    QString messageText;
    QString informativeText;
    // Button titles in order; the first answers kFirstButton, the next kFirstButton + 1, ...
    QStringList buttons;
    // The button Escape presses, by its place in `buttons`; Return presses the first.
    int escapeButton = 0;
    Style style = Style::Warning;
};

class AlertPresenter
{
public:
    static constexpr int kFirstButton = 1000;
    // The answer of runModalForWindow() ended by stopModal() without a code.
    static constexpr int kModalResponseStop = -1000;

    virtual ~AlertPresenter();

    // Shows the alert modally, centred over the window of `over`, and returns the code of the
    // button chosen. An alert without buttons gets one "OK" button.
    virtual int runAlert(const AlertSpec &alert, QWidget *over) = 0;

    // A question blocks the window under it until answered; a summary, which asks nothing, leaves
    // it free: its menu, Quit and its close button work while the summary is open. A question
    // about the content it stands over (Content) holds only `parent`: that takes no click or key
    // until the sheet ends, while the window's menu, Quit and close button work as with None.
    enum class Blocking { Window, None, Content };

    // Shows `sheet` (a window) over the window of `parent`, window-modally when `blocking` is
    // Window, and returns at once.
    virtual void beginSheet(QWidget *sheet, QWidget *parent, Blocking blocking = Blocking::Window) = 0;
    // Hides `sheet`; ends a modal run on it as stopModal() would when one is under way.
    virtual void endSheet(QWidget *sheet) = 0;
    virtual bool isSheetOpen(const QWidget *sheet) const = 0;

    // Blocks (events keep flowing) until stopModal() and returns its code.
    virtual int runModalForWindow(QWidget *window) = 0;
    virtual void stopModal(int code = kModalResponseStop) = 0;

    // The presenter window code uses; the GUI presenter unless one was installed.
    static AlertPresenter &current();
    // Installs `presenter` (not owned); null restores the GUI presenter.
    static void setCurrent(AlertPresenter *presenter);
    static AlertPresenter *installed();
};
