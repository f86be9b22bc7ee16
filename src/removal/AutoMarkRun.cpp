#include "removal/AutoMarkRun.h"

#include <QElapsedTimer>
#include <QTimer>

#include "model/DuplicatesGroup.h"
#include "platform/Log.h"

AutoMarkRun::AutoMarkRun(ResultState &state, AutoMarkEngine::RulesSource rules, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_engine(state, std::move(rules))
{
}

void AutoMarkRun::begin()
{
    m_state.countMarked = 0;
    m_state.sizeMarked = 0;
    m_state.countiPhotoMarked = 0;
    m_state.bAbortAutoMark = false;
    // The groups as they stand now: a refilter during the run must not move the run's position.
    m_groups = m_state.arrGroups;
    m_next = 0;
    m_running = true;
}

bool AutoMarkRun::atEnd() const
{
    return m_next >= m_groups.size() || m_state.bAbortAutoMark;
}

void AutoMarkRun::runToCompletion()
{
    if (m_running)
        return;
    begin();
    while (!atEnd())
        m_engine.applyAutoMarkRules(*m_groups[m_next++]);
    finish();
}

void AutoMarkRun::start()
{
    if (m_running)
        return;
    begin();
    QTimer::singleShot(0, this, &AutoMarkRun::runSlice);
}

void AutoMarkRun::runSlice()
{
    QElapsedTimer clock;
    clock.start();
    do {
        if (atEnd()) {
            finish();
            return;
        }
        m_engine.applyAutoMarkRules(*m_groups[m_next++]);
    } while (clock.elapsed() < m_sliceBudget.count());
    emit progress(m_state.countMarked, int(m_next), int(m_groups.size()));
    QTimer::singleShot(0, this, &AutoMarkRun::runSlice);
}

void AutoMarkRun::finish()
{
    const bool stopped = m_next < m_groups.size();
    if (stopped) {
        // The groups not reached keep their earlier marks; counting them again keeps the counters
        // equal to the marks the user sees.
        m_state.recountTotals();
    }
    Log::line(QStringLiteral("Auto-mark %1 after %2 of %3 groups, %4 marked")
                  .arg(stopped ? QStringLiteral("stopped") : QStringLiteral("done"))
                  .arg(m_next)
                  .arg(m_groups.size())
                  .arg(m_state.countMarked));
    const int done = int(m_next);
    const int total = int(m_groups.size());
    m_groups.clear();
    m_running = false;
    emit progress(m_state.countMarked, done, total);
    emit finished(stopped);
}
