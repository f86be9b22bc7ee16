// Scripted alerts and sheets for tests.
#include "platform/ui/ScriptedAlertPresenter.h"

#include <algorithm>

ScriptedAlertPresenter::ScriptedAlertPresenter()
    : m_install(this)
{
}

ScriptedAlertPresenter::~ScriptedAlertPresenter() = default;

int ScriptedAlertPresenter::nextAnswer()
{
    if (m_answers.empty())
        return kFirstButton;
    const int code = m_answers.front();
    m_answers.pop_front();
    return code;
}

int ScriptedAlertPresenter::runAlert(const AlertSpec &alert, QWidget *)
{
    m_alerts.push_back(alert);
    return nextAnswer();
}

void ScriptedAlertPresenter::beginSheet(QWidget *sheet, QWidget *, Blocking)
{
    if (!sheet)
        return;
    m_sheetsBegun.push_back(sheet);
    if (!isSheetOpen(sheet))
        m_openSheets.push_back(sheet);
}

void ScriptedAlertPresenter::endSheet(QWidget *sheet)
{
    std::erase(m_openSheets, sheet);
    if (m_inModalRun && !m_stopped)
        stopModal(kModalResponseStop);
}

bool ScriptedAlertPresenter::isSheetOpen(const QWidget *sheet) const
{
    return std::find(m_openSheets.begin(), m_openSheets.end(), sheet) != m_openSheets.end();
}

int ScriptedAlertPresenter::runModalForWindow(QWidget *window)
{
    m_modalWindows.push_back(window);
    m_inModalRun = true;
    m_stopped = false;
    if (m_modalHandler)
        m_modalHandler(window);
    m_inModalRun = false;
    return m_stopped ? m_stopCode : nextAnswer();
}

int ScriptedAlertPresenter::modalRunCount(const QWidget *window) const
{
    return int(std::count(m_modalWindows.begin(), m_modalWindows.end(), window));
}

void ScriptedAlertPresenter::stopModal(int code)
{
    if (!m_inModalRun)
        return;
    m_stopped = true;
    m_stopCode = code;
}
