// A presenter for tests: alerts answer from a queue of button codes, sheets are only recorded, and
// a modal run returns at once. It installs itself while it lives and restores the previous one.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "platform/ui/AlertPresenter.h"
#include "platform/ui/InstalledService.h"

class ScriptedAlertPresenter : public AlertPresenter
{
public:
    ScriptedAlertPresenter();
    ~ScriptedAlertPresenter() override;
    ScriptedAlertPresenter(const ScriptedAlertPresenter &) = delete;
    ScriptedAlertPresenter &operator=(const ScriptedAlertPresenter &) = delete;

    // The answers of the next alerts, in order; when none is queued an alert answers kFirstButton.
    void queueAnswer(int code) { m_answers.push_back(code); }
    // Called during runModalForWindow() (for example to press a button of the window, which calls
    // stopModal()); without a stopModal() the run answers the next queued code.
    void setModalHandler(std::function<void(QWidget *)> handler) { m_modalHandler = std::move(handler); }

    const std::vector<AlertSpec> &alerts() const { return m_alerts; }
    // Every sheet begun, in order, including the ones already ended.
    const std::vector<QWidget *> &sheetsBegun() const { return m_sheetsBegun; }
    int modalRunCount() const { return int(m_modalWindows.size()); }
    // The modal runs of `window` alone: a window may run others on its own timers meanwhile.
    int modalRunCount(const QWidget *window) const;

    int runAlert(const AlertSpec &alert, QWidget *over) override;
    void beginSheet(QWidget *sheet, QWidget *parent, Blocking blocking = Blocking::Window) override;
    void endSheet(QWidget *sheet) override;
    bool isSheetOpen(const QWidget *sheet) const override;
    int runModalForWindow(QWidget *window) override;
    void stopModal(int code = kModalResponseStop) override;

private:
    int nextAnswer();

    std::deque<int> m_answers;
    std::function<void(QWidget *)> m_modalHandler;
    std::vector<AlertSpec> m_alerts;
    std::vector<QWidget *> m_sheetsBegun;
    std::vector<const QWidget *> m_openSheets;
    std::vector<const QWidget *> m_modalWindows;
    bool m_inModalRun = false;
    bool m_stopped = false;
    int m_stopCode = kModalResponseStop;
    // Last, so the double is installed once complete and removed before its members go.
    ScopedInstall<AlertPresenter> m_install;
};
