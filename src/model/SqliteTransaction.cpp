#include "model/SqliteTransaction.h"

#include <sqlite3.h>

#include "model/SqliteConnection.h"

namespace
{

// A failed rollback must not hide the result code that made the operation give up.
void rollBack(SqliteConnection &connection)
{
    if (connection.isOpen())
        sqlite3_exec(connection.handle(), "ROLLBACK TRANSACTION", nullptr, nullptr, nullptr);
}

} // namespace

SqliteTransaction::SqliteTransaction(SqliteConnection &connection, Kind kind)
    : m_connection(connection)
{
    // A writer takes the write lock at the start, so it never fails half-way on a lock upgrade.
    m_active = connection.exec(kind == Kind::Write ? "BEGIN IMMEDIATE TRANSACTION" : "BEGIN TRANSACTION");
}

SqliteTransaction::~SqliteTransaction()
{
    if (m_active)
        rollBack(m_connection);
}

bool SqliteTransaction::commit()
{
    if (!m_active)
        return false;
    m_active = false;
    if (m_connection.exec("COMMIT TRANSACTION"))
        return true;
    rollBack(m_connection);
    return false;
}
