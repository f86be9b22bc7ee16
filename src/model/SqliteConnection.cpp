#include "model/SqliteConnection.h"

#include <atomic>

#include <sqlite3.h>

#include "model/SqliteStatement.h"

namespace
{

std::atomic<int> g_busyTimeoutMs { 2000 };

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
    const int flags = mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    const QByteArray name = path.toUtf8();
    const int result = sqlite3_open_v2(name.constData(), &m_db, flags, nullptr);
    if (result != SQLITE_OK) {
        m_lastResult = result;
        close();
        return false;
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, g_busyTimeoutMs.load());
    return true;
}

void SqliteConnection::close()
{
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
    const int result = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (result != SQLITE_OK) {
        m_lastResult = result;
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
    if (result != SQLITE_OK && result != SQLITE_ROW && result != SQLITE_DONE)
        m_lastResult = result;
}

QString SqliteConnection::errorMessage() const
{
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
