// One prepared statement: prepared once, bound by position (text and blobs as copies), stepped,
// reset between records and finalized when the object goes away. Values always travel as bound
// parameters, never inside the SQL text.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

struct sqlite3_stmt;
class SqliteConnection;

class SqliteStatement
{
public:
    SqliteStatement(SqliteConnection &connection, const char *sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    bool isValid() const { return m_statement != nullptr; }

    void bindNull(int index);
    void bindInt64(int index, qint64 value);
    void bindDouble(int index, double value);
    void bindText(int index, const QString &value);
    void bindBlob(int index, const QByteArray &value);

    // SQLITE_ROW, SQLITE_DONE or an error code (which the connection also notes).
    int step();
    // Makes the statement ready for the next record, with every parameter unbound.
    void reset();

    bool isNull(int column) const;
    int columnInt(int column) const;
    qint64 columnInt64(int column) const;
    double columnDouble(int column) const;
    QString columnText(int column) const;
    // The text's UTF-8 bytes, valid until the next step or reset.
    QByteArrayView columnUtf8(int column) const;
    QByteArray columnBlob(int column) const;
    // The blob in place: valid until the next step or reset of the statement.
    QByteArrayView columnBlobView(int column) const;

private:
    SqliteConnection &m_connection;
    sqlite3_stmt *m_statement = nullptr;
};
