#include "model/SqliteConnection.h"

#include <atomic>

#include <sqlite3.h>

#include "model/SqliteStatement.h"
#include "platform/OwnFolderWrites.h"

namespace
{

std::atomic<int> g_busyTimeoutMs { 2000 };

// Far beyond what a library holds (paths, names, short descriptions; its schema's statements are a
// few kilobytes, its expressions a few levels deep), far below SQLite's own limits of a gigabyte
// and a thousand levels.
constexpr int kForeignValueBytes = 16 * 1024 * 1024;
constexpr int kForeignSqlBytes = 1024 * 1024;
constexpr int kForeignExpressionDepth = 100;
// Virtual machine instructions between two looks at the stop and the budget.
constexpr int kProgressInstructions = 1000;

} // namespace

SqliteConnection::~SqliteConnection()
{
    close();
}

bool SqliteConnection::open(const QString &path, Mode mode)
{
    close();
    // Preparing the engine again is harmless when it is already prepared.
    sqlite3_initialize();
    // A connection lives on one thread for one operation, so SQLite's own lock around every call
    // (a tenth of reading a scan's cached rows) guards nothing.
    // A file opened for writing is one of ours (the cache): never reached through a link.
    const int flags
        = (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW)
        | SQLITE_OPEN_NOMUTEX;
    const QByteArray name = path.toUtf8();
    const int result = sqlite3_open_v2(name.constData(), &m_db, flags, nullptr);
    if (result != SQLITE_OK) {
        m_lastResult = result;
        close();
        return false;
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, g_busyTimeoutMs.load());
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    return true;
}

void SqliteConnection::restrictForeignFile(const std::atomic<bool> *stop, int stepBudgetMs)
{
    if (!m_db)
        return;
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_limit(m_db, SQLITE_LIMIT_LENGTH, kForeignValueBytes);
    sqlite3_limit(m_db, SQLITE_LIMIT_SQL_LENGTH, kForeignSqlBytes);
    sqlite3_limit(m_db, SQLITE_LIMIT_EXPR_DEPTH, kForeignExpressionDepth);
    m_stop = stop;
    m_stepBudgetMs = stepBudgetMs;
    workStarting();
    sqlite3_progress_handler(m_db, kProgressInstructions, &SqliteConnection::progress, this);
}

void SqliteConnection::workStarting()
{
    // A database written by a queue of the program's own folders answers with every statement.
    OwnFolderWrites::stillAnswering();
    if (m_stepBudgetMs > 0)
        m_workClock.start();
}

// A non-zero answer interrupts the statement that is running.
int SqliteConnection::progress(void *connection)
{
    const auto *self = static_cast<const SqliteConnection *>(connection);
    OwnFolderWrites::stillAnswering();
    if (self->stopRequested())
        return 1;
    return self->m_stepBudgetMs > 0 && self->m_workClock.hasExpired(self->m_stepBudgetMs) ? 1 : 0;
}

bool SqliteConnection::interruptedByStop() const
{
    return m_lastResult == SQLITE_INTERRUPT && stopRequested();
}

bool SqliteConnection::interruptedByBudget() const
{
    return m_lastResult == SQLITE_INTERRUPT && !stopRequested();
}

void SqliteConnection::close()
{
    m_stop = nullptr;
    m_stepBudgetMs = 0;
    if (m_db) {
        // close_v2 defers the close until any statement still alive is finalized.
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

bool SqliteConnection::exec(const char *sql)
{
    if (!m_db)
        return false;
    workStarting();
    const int result = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (result != SQLITE_OK) {
        noteResult(result);
        return false;
    }
    return true;
}

bool SqliteConnection::hasTable(const QString &name)
{
    SqliteStatement query(
        *this, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    if (!query.isValid())
        return false;
    query.bindText(1, name);
    return query.step() == SQLITE_ROW;
}

void SqliteConnection::noteResult(int result)
{
    if (result != SQLITE_OK && result != SQLITE_ROW && result != SQLITE_DONE) {
        m_lastResult = result;
        m_lastMessage = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
    }
}

QString SqliteConnection::errorMessage() const
{
    if (!m_lastMessage.isEmpty())
        return m_lastMessage;
    if (!m_db)
        return QString::fromUtf8(sqlite3_errstr(m_lastResult));
    return QString::fromUtf8(sqlite3_errmsg(m_db));
}

void SqliteConnection::setBusyTimeoutMs(int milliseconds)
{
    g_busyTimeoutMs = milliseconds;
}

int SqliteConnection::busyTimeoutMs()
{
    return g_busyTimeoutMs.load();
}
