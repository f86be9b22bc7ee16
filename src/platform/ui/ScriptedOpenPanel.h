// An open panel for tests: answers from a queue of (response, paths) at once, and keeps the
// options it was given so a test can ask their filter about paths. Installs itself while it lives.
#pragma once

#include <deque>
#include <vector>

#include "platform/ui/OpenPanel.h"
#include "platform/ui/InstalledService.h"

class ScriptedOpenPanel : public OpenPanel
{
public:
    struct Answer {
        int response = Cancel;
        QStringList paths;
    };

    ScriptedOpenPanel();
    ~ScriptedOpenPanel() override;
    ScriptedOpenPanel(const ScriptedOpenPanel &) = delete;
    ScriptedOpenPanel &operator=(const ScriptedOpenPanel &) = delete;

    // The next panel answers OK with `paths`. With nothing queued a panel answers Cancel.
    void queueChoice(const QStringList &paths) { m_answers.push_back({ OK, paths }); }
    void queueCancel() { m_answers.push_back({ Cancel, {} }); }
    // When set, queued paths that the panel's options refuse are dropped, as the GUI panel would
    // never let the user choose them.
    void setApplyFilter(bool apply) { m_applyFilter = apply; }

    const std::vector<OpenPanelOptions> &panelsShown() const { return m_shown; }

    void beginSheet(const OpenPanelOptions &options, QWidget *parent, Completion completion) override;

private:
    std::deque<Answer> m_answers;
    std::vector<OpenPanelOptions> m_shown;
    bool m_applyFilter = false;
    // Last, so the double is installed once complete and removed before its members go.
    ScopedInstall<OpenPanel> m_install;
};
