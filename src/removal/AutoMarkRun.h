// One auto-mark run over the shown groups of a ResultState: the counters and the stop request start
// from zero, then every group gets the rules. The headless runner runs it to completion in one call;
// the results window runs it in short slices on the GUI thread so its Cancel is seen between groups.
#pragma once

#include <chrono>
#include <cstddef>

#include <QObject>

#include "removal/AutoMarkEngine.h"
#include "results/ResultState.h"

class AutoMarkRun : public QObject
{
    Q_OBJECT
public:
    explicit AutoMarkRun(
        ResultState &state, AutoMarkEngine::RulesSource rules = {}, QObject *parent = nullptr);

    // Works through every group before it returns (a stop request set meanwhile is still honoured);
    // emits progress once and finished.
    void runToCompletion();
    // Starts a run in slices on this thread's event loop and returns at once. Does nothing while a
    // run is under way.
    void start();
    bool isRunning() const { return m_running; }

    // The time a slice may take before it yields to the event loop; zero means one group a slice.
    void setSliceBudget(std::chrono::milliseconds budget) { m_sliceBudget = budget; }

signals:
    // The marked count after a slice, and how many of the run's groups have had the rules.
    void progress(int countMarked, int groupsDone, int groupsTotal);
    // The run has ended, at the last group or at a stop request (`stopped`).
    void finished(bool stopped);

private:
    void begin();
    void runSlice();
    bool atEnd() const;
    void finish();

    ResultState &m_state;
    AutoMarkEngine m_engine;
    ResultState::GroupList m_groups;
    std::size_t m_next = 0;
    bool m_running = false;
    std::chrono::milliseconds m_sliceBudget { 10 };
};
