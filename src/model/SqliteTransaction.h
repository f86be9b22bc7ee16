// A transaction that rolls back unless it was committed, so no operation ever leaves half a batch.
#pragma once

class SqliteConnection;

class SqliteTransaction
{
public:
    enum class Kind { Read, Write };

    SqliteTransaction(SqliteConnection &connection, Kind kind);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction &) = delete;
    SqliteTransaction &operator=(const SqliteTransaction &) = delete;

    bool isActive() const { return m_active; }
    bool commit();

private:
    SqliteConnection &m_connection;
    bool m_active = false;
};
