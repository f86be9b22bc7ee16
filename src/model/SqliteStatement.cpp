#include "model/SqliteStatement.h"

#include <sqlite3.h>

#include "model/SqliteConnection.h"

SqliteStatement::SqliteStatement(SqliteConnection &connection, const char *sql)
    : m_connection(connection)
{
    if (!connection.isOpen())
        return;
    // Preparing the first statement reads the schema, which runs statements of its own.
    connection.workStarting();
    const int result = sqlite3_prepare_v2(connection.handle(), sql, -1, &m_statement, nullptr);
    if (result != SQLITE_OK) {
        connection.noteResult(result);
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
    }
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

void SqliteStatement::bindNull(int index)
{
    sqlite3_bind_null(m_statement, index);
}

void SqliteStatement::bindInt64(int index, qint64 value)
{
    sqlite3_bind_int64(m_statement, index, value);
}

void SqliteStatement::bindDouble(int index, double value)
{
    sqlite3_bind_double(m_statement, index, value);
}

void SqliteStatement::bindText(int index, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void SqliteStatement::bindBlob(int index, const QByteArray &value)
{
    // A zero-length blob is still a blob, not NULL.
    sqlite3_bind_blob(
        m_statement, index, value.isEmpty() ? "" : value.constData(), int(value.size()), SQLITE_TRANSIENT);
}

int SqliteStatement::step()
{
    if (!m_statement)
        return SQLITE_MISUSE;
    m_connection.workStarting();
    const int result = sqlite3_step(m_statement);
    m_connection.noteResult(result);
    return result;
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

bool SqliteStatement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

int SqliteStatement::columnInt(int column) const
{
    return sqlite3_column_int(m_statement, column);
}

qint64 SqliteStatement::columnInt64(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

double SqliteStatement::columnDouble(int column) const
{
    return sqlite3_column_double(m_statement, column);
}

QString SqliteStatement::columnText(int column) const
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(m_statement, column));
}

QByteArrayView SqliteStatement::columnUtf8(int column) const
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    return QByteArrayView(text, sqlite3_column_bytes(m_statement, column));
}

QByteArray SqliteStatement::columnBlob(int column) const
{
    return columnBlobView(column).toByteArray();
}

QByteArrayView SqliteStatement::columnBlobView(int column) const
{
    const void *data = sqlite3_column_blob(m_statement, column);
    const int size = sqlite3_column_bytes(m_statement, column);
    if (!data || size <= 0)
        return QByteArrayView();
    return QByteArrayView(static_cast<const char *>(data), size);
}
