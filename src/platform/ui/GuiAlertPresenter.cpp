// Window-modal alerts and sheets.
#include "platform/ui/GuiAlertPresenter.h"

#include <algorithm>

#include <QAbstractButton>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "platform/LineBreaks.h"
#include "platform/ui/FrameGeometry.h"
#include "platform/ui/WindowFocus.h"

namespace
{

// However many lines or characters a caller hands over, the box keeps to the screen with its buttons.
constexpr qsizetype kTextLimit = 2000;
constexpr qsizetype kLineLimit = 24;

QString bounded(const QString &text)
{
    QStringList lines = text.left(kTextLimit).split(QLatin1Char('\n'));
    const bool cut = text.size() > kTextLimit || lines.size() > kLineLimit;
    lines = lines.mid(0, kLineLimit);
    return cut ? lines.join(QLatin1Char('\n')) + QChar(0x2026) : text;
}

// The box wraps its text at half the screen, and never wider than reads well: a word wider than
// that (a long file name) breaks where its line ends, or it would widen the box past the screen.
constexpr int kWidestText = 480;

int widestWord(const QWidget *over)
{
    const QScreen *screen = over ? over->screen() : QGuiApplication::primaryScreen();
    return screen ? std::min(screen->availableGeometry().width() / 2, kWidestText) : kWidestText;
}

// Centred over `parent`, yet whole on the screen, its buttons included. Until the window manager
// has framed the box its title bar is not counted, so room is left above it for one.
void place(QMessageBox *box, QWidget *parent)
{
    FrameGeometry::centerOver(box, parent);
    const QScreen *screen = box->screen();
    if (!screen)
        return;
    QRect room = screen->availableGeometry();
    if (box->frameGeometry() == box->geometry())
        room.setTop(room.top() + FrameGeometry::kScreenMargin);
    box->move(FrameGeometry::fitInside(box->frameGeometry(), room).topLeft());
}

QMessageBox::Icon iconFor(AlertSpec::Style style)
{
    switch (style) {
    case AlertSpec::Style::Informational:
        return QMessageBox::Information;
    case AlertSpec::Style::Critical:
        return QMessageBox::Critical;
    case AlertSpec::Style::Warning:
        break;
    }
    return QMessageBox::Warning;
}

} // namespace

QWidget *GuiAlertPresenter::sheetOver(QWidget *window) const
{
    if (!window)
        return nullptr;
    for (const QPointer<QWidget> &sheet : m_sheets) {
        if (sheet && sheet->isVisible() && (sheet == window || sheet->parentWidget() == window))
            return sheet;
    }
    return nullptr;
}

int GuiAlertPresenter::runAlert(const AlertSpec &alert, QWidget *over)
{
    // An alert that follows a sheet still open stands over that sheet, not beside it over the
    // window: two window-modal siblings leave the window manager to pick which one has the keys.
    const QPointer<QWidget> sheet = sheetOver(over ? over->window() : nullptr);
    QWidget *parent = sheet ? sheet.data() : over ? over->window() : nullptr;
    QMessageBox box(parent);
    box.setIcon(iconFor(alert.style));
    // A path or address wraps only at its separators, never into what reads as two names.
    box.setText(LineBreaks::atSeparatorsOnly(bounded(alert.messageText)));
    box.setInformativeText(LineBreaks::atSeparatorsOnly(bounded(alert.informativeText)));
    // Alerts quote names and servers' words: markup in them is shown, never followed. The box's own
    // text format leaves its informative text out, so each of its labels is set.
    const int widest = widestWord(parent);
    for (QLabel *label : box.findChildren<QLabel *>()) {
        label->setTextFormat(Qt::PlainText);
        if (!label->text().isEmpty())
            label->setText(LineBreaks::withinWidth(label->text(), label->font(), widest));
    }
    box.setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    const QStringList titles = alert.buttons.isEmpty() ? QStringList { QStringLiteral("OK") } : alert.buttons;
    std::vector<QAbstractButton *> buttons;
    // Action roles only, so every answer is a button code; Escape presses the button named for it.
    for (const QString &title : titles)
        buttons.push_back(box.addButton(title, QMessageBox::ActionRole));
    box.setDefaultButton(qobject_cast<QPushButton *>(buttons.front()));
    box.setEscapeButton(buttons.at(size_t(std::clamp(alert.escapeButton, 0, int(buttons.size()) - 1))));
    box.adjustSize();
    place(&box, parent);
    // The box sizes itself to its text again as it shows, and once more as it is laid out, so it
    // is placed again at every size it takes (the user cannot resize it). It takes the keyboard as
    // it opens, so Return and Escape answer it at once.
    QTimer::singleShot(0, &box, [&box, parent] {
        place(&box, parent);
        for (const auto changed : { &QWindow::widthChanged, &QWindow::heightChanged }) {
            if (QWindow *window = box.windowHandle())
                QObject::connect(window, changed, &box, [&box, parent] { place(&box, parent); });
        }
        WindowFocus::take(&box);
    });
    box.exec();
    // The keys go back to the sheet, which puts them on its default button as it is unblocked.
    if (sheet && sheet->isVisible())
        WindowFocus::take(sheet);
    const auto it = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    const int index = it == buttons.end() ? 0 : static_cast<int>(it - buttons.begin());
    return kFirstButton + index;
}

void GuiAlertPresenter::beginSheet(QWidget *sheet, QWidget *parent, Blocking blocking)
{
    if (!sheet)
        return;
    QWidget *window = parent ? parent->window() : nullptr;
    if (window && sheet->parentWidget() != window) {
        const Qt::WindowFlags flags = sheet->windowFlags();
        sheet->setParent(window, flags | Qt::Dialog);
    }
    const Qt::WindowModality blocked = window ? Qt::WindowModal : Qt::ApplicationModal;
    sheet->setWindowModality(blocking == Blocking::Window ? blocked : Qt::NonModal);
    // One sheet at a time over a window: one still open there closes first.
    std::vector<QPointer<QWidget>> open = m_sheets;
    for (const QPointer<QWidget> &other : open) {
        if (other && other != sheet && window && other->parentWidget() == window)
            endSheet(other);
    }
    if (blocking == Blocking::Content && !isSheetOpen(sheet))
        holdContent(sheet, parent);
    FrameGeometry::centerOver(sheet, window);
    sheet->show();
    WindowFocus::take(sheet);
    if (!isSheetOpen(sheet))
        m_sheets.emplace_back(sheet);
}

void GuiAlertPresenter::endSheet(QWidget *sheet)
{
    if (!sheet)
        return;
    sheet->hide();
    std::erase_if(m_sheets, [sheet](const QPointer<QWidget> &s) { return s.isNull() || s == sheet; });
    releaseContent(sheet);
    for (const ModalRun &run : m_modalRuns) {
        if (run.window == sheet)
            run.loop->exit(kModalResponseStop);
    }
}

void GuiAlertPresenter::holdContent(QWidget *sheet, QWidget *content)
{
    // Content disabled by someone else stays theirs to enable.
    if (!content || !content->isEnabled())
        return;
    QWidget *focus = content->window()->focusWidget();
    m_held.push_back({ sheet, content, content->isAncestorOf(focus) ? focus : nullptr });
    content->setEnabled(false);
}

void GuiAlertPresenter::releaseContent(const QWidget *sheet)
{
    // A sheet deleted while open lets go of its content too.
    std::vector<HeldContent> released;
    std::erase_if(m_held, [&](const HeldContent &held) {
        const bool ends = held.sheet.isNull() || held.sheet == sheet;
        if (ends)
            released.push_back(held);
        return ends;
    });
    for (const HeldContent &held : released) {
        if (!held.content)
            continue;
        held.content->setEnabled(true);
        if (held.focus && held.focus->isVisible())
            held.focus->setFocus(Qt::OtherFocusReason);
    }
}

bool GuiAlertPresenter::isSheetOpen(const QWidget *sheet) const
{
    return std::any_of(m_sheets.begin(), m_sheets.end(),
        [sheet](const QPointer<QWidget> &s) { return !s.isNull() && s == sheet; });
}

int GuiAlertPresenter::runModalForWindow(QWidget *window)
{
    if (!window)
        return kModalResponseStop;
    if (!window->isVisible()) {
        window->setWindowModality(Qt::ApplicationModal);
        FrameGeometry::centerOver(window, nullptr);
        window->show();
        WindowFocus::take(window);
    }
    QEventLoop loop;
    m_modalRuns.push_back({ window, &loop });
    const int code = loop.exec(QEventLoop::DialogExec);
    m_modalRuns.pop_back();
    return code;
}

void GuiAlertPresenter::stopModal(int code)
{
    // Like the platform's stopModal, this ends the innermost modal run only.
    if (!m_modalRuns.empty())
        m_modalRuns.back().loop->exit(code);
}
