// One SQLite connection, opened for one operation and closed when the object goes away. The cache
// and the library reader go through this, so every result code is looked at in one place.
#pragma once

#include <QString>

struct sqlite3;

class SqliteConnection
{
public:
    enum class Mode { ReadWrite, ReadOnly };

    SqliteConnection() = default;
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection &) = delete;
    SqliteConnection &operator=(const SqliteConnection &) = delete;

    // Opens an existing file; never creates one (a cache only comes into being as a template copy).
    bool open(const QString &path, Mode mode);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    sqlite3 *handle() const { return m_db; }

    // Runs statements that take no parameters; false (and lastResult()) on the first failure.
    bool exec(const char *sql);
    // True when the database has a table of that name (SQL names ignore case).
    bool hasTable(const QString &name);

    // The result code of the last failure seen through this connection or its statements.
    int lastResult() const { return m_lastResult; }
    void noteResult(int result);
    QString errorMessage() const;

    // How long a statement waits for another process's lock before it gives up (milliseconds).
    static void setBusyTimeoutMs(int milliseconds);
    static int busyTimeoutMs();

private:
    sqlite3 *m_db = nullptr;
    int m_lastResult = 0;
};
