// One SQLite connection, opened for one operation and closed when the object goes away; one thread
// uses it at a time. The cache and the library reader go through this, so every result code is
// looked at in one place.
#pragma once

#include <atomic>

#include <QElapsedTimer>
#include <QString>

struct sqlite3;

class SqliteConnection
{
public:
    enum class Mode { ReadWrite, ReadOnly };
    // How long one step of a statement on a foreign file may run: a real library or cache answers
    // in far less, a hostile one (a view that never ends) would run for ever.
    static constexpr int kDefaultStepBudgetMs = 30000;

    SqliteConnection() = default;
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection &) = delete;
    SqliteConnection &operator=(const SqliteConnection &) = delete;

    // Opens an existing file; never creates one (a cache only comes into being as a template copy).
    // Every connection is defensive: no SQL can damage the file on purpose (writable schema,
    // shadow-table writes and the like are refused).
    bool open(const QString &path, Mode mode);
    // For a database that comes from elsewhere (a photo library) or that anything may have written
    // (the cache in the user's folder): functions and virtual tables
    // named in its schema do not run, values, statements and expressions are held to sizes far
    // beyond any real library's, and a statement ends with SQLITE_INTERRUPT as soon as `*stop` is
    // set or one step of it has run longer than `stepBudgetMs` (0: no budget).
    void restrictForeignFile(const std::atomic<bool> *stop, int stepBudgetMs);
    // Starts the budget of a step (or of preparing a statement) afresh.
    void workStarting();
    // The stop given to restrictForeignFile() is set.
    bool stopRequested() const { return m_stop && m_stop->load(std::memory_order_relaxed); }
    // The last failure was a statement interrupted: by the stop, or else by the step budget.
    bool interruptedByStop() const;
    bool interruptedByBudget() const;
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
    // The words of the last failure noted, or of the last call when none was.
    QString errorMessage() const;

    // How long a statement waits for another process's lock before it gives up (milliseconds).
    static void setBusyTimeoutMs(int milliseconds);
    static int busyTimeoutMs();

private:
    static int progress(void *connection);

    sqlite3 *m_db = nullptr;
    int m_lastResult = 0;
    // The database's words for the last failure, kept before a later call replaces them.
    QString m_lastMessage;
    const std::atomic<bool> *m_stop = nullptr;
    int m_stepBudgetMs = 0;
    QElapsedTimer m_workClock;
};
