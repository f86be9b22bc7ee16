// A privileged runner for tests: records every command and answers from a script. With
// `runForReal` it runs the command with the test's own rights, so the argument lists meet the
// real helper of this build.
#pragma once

#include <deque>
#include <utility>
#include <vector>

#include <QProcess>

#include "app/PrivilegedRunner.h"
#include "platform/AppFolders.h"
#include "platform/Dispatch.h"

class RemoveItemFakeRunner : public PrivilegedRunner
{
public:
    using Call = std::pair<QString, QStringList>;

    explicit RemoveItemFakeRunner(bool runForReal = false)
        : m_runForReal(runForReal)
    {
    }

    // The answers of the next commands; when none is queued a command finishes with exit code 0.
    void queue(Outcome outcome, int exitCode = 0) { m_script.push_back({outcome, exitCode}); }
    const std::vector<Call> &calls() const { return m_calls; }
    QString helperPath() const override { return helper; }
    QString helper = QStringLiteral(QNY_TEST_PRIVILEGED_HELPER);
    int mainThreadCalls() const { return m_mainThreadCalls; }

    Result run(const QString &program, const QStringList &arguments) override
    {
        m_calls.emplace_back(program, arguments);
        if (Dispatch::isMainThread())
            ++m_mainThreadCalls;
        if (!m_script.empty()) {
            const Result result = m_script.front();
            m_script.pop_front();
            return result;
        }
        if (!m_runForReal)
            return {Outcome::Finished, 0};
        // The helper takes the test's tree of folders for the program's own.
        const QString root = AppFolders::rootOverride();
        QProcess process;
        process.start(program, (root.isEmpty() ? QStringList() : QStringList { "--root-override", root }) + arguments);
        if (!process.waitForStarted(-1))
            return {Outcome::NotStarted, -1};
        process.waitForFinished(-1);
        return {Outcome::Finished, process.exitCode()};
    }

private:
    bool m_runForReal;
    std::deque<Result> m_script;
    std::vector<Call> m_calls;
    int m_mainThreadCalls = 0;
};
