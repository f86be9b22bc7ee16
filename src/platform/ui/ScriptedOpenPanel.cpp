// Scripted open panel for tests.
#include "platform/ui/ScriptedOpenPanel.h"

ScriptedOpenPanel::ScriptedOpenPanel()
    : m_install(this)
{
}

ScriptedOpenPanel::~ScriptedOpenPanel() = default;

void ScriptedOpenPanel::beginSheet(const OpenPanelOptions &options, QWidget *, Completion completion)
{
    m_shown.push_back(options);
    Answer answer;
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
    }
    if (m_applyFilter) {
        QStringList kept;
        for (const QString &path : answer.paths) {
            if (OpenPanel::isSelectable(options, path))
                kept.push_back(path);
        }
        answer.paths = kept;
    }
    if (completion)
        completion(answer.response, answer.response == OK ? answer.paths : QStringList {});
}
