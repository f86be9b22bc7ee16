#include "model/CacheSchema.h"

#include <sqlite3.h>

#include <QFile>

#include "model/SqliteConnection.h"
#include "model/SqliteStatement.h"
#include "platform/AppFolders.h"
#include "platform/Log.h"

namespace
{

// Columns added to a table after its first release, at its end. A cache made before gets them
// when it is opened; until then its table lacks them and is still ours.
struct LaterColumn {
    const char *table;
    const char *column;
    const char *type;
};
const LaterColumn kLaterColumns[] = {
    // A row without its file's inode change time never counts as unchanged: the file is read once
    // more and its row rewritten.
    { "ExfInfo", "changeTime", "REAL" },
};

// One line per column (hidden and generated ones included), per column of each index, per foreign
// key and for the kind of table, every value quoted: two files give the same lines exactly when
// they define the table alike.
const char *const kDescribeTable
    = "SELECT 'column ' || quote(cid) || ' ' || quote(name) || ' ' || quote(type) || ' ' "
      "|| quote(\"notnull\") || ' ' || quote(dflt_value) || ' ' || quote(pk) || ' ' || quote(hidden) "
      "FROM pragma_table_xinfo(?1) "
      "UNION ALL SELECT 'table ' || quote(type) || ' ' || quote(wr) || ' ' || quote(strict) "
      "FROM pragma_table_list(?1) WHERE schema = 'main' "
      "UNION ALL SELECT 'index ' || quote(l.name) || ' ' || quote(l.\"unique\") || ' ' || quote(l.origin) "
      "|| ' ' || quote(l.partial) || ' ' || quote(x.seqno) || ' ' || quote(x.cid) || ' ' || quote(x.name) "
      "|| ' ' || quote(x.\"desc\") || ' ' || quote(x.coll) || ' ' || quote(x.key) "
      "FROM pragma_index_list(?1) AS l, pragma_index_xinfo(l.name) AS x "
      "UNION ALL SELECT 'foreign key ' || quote(\"table\") || ' ' || quote(\"from\") || ' ' || quote(\"to\") "
      "FROM pragma_foreign_key_list(?1)";

bool isLaterColumnLine(const QString &table, const QString &line)
{
    for (const LaterColumn &later : kLaterColumns) {
        if (table == QLatin1String(later.table) && line.startsWith(QLatin1String("column "))
            && line.contains(QStringLiteral(" '%1' ").arg(QLatin1String(later.column))))
            return true;
    }
    return false;
}

} // namespace

QByteArray CacheSchema::text()
{
    QFile schema(AppFolders::resourcePath(QStringLiteral("db/schema.sql")));
    return schema.open(QIODevice::ReadOnly) ? schema.readAll() : QByteArray();
}

QString CacheSchema::problem(SqliteConnection &cache)
{
    const Definitions &reference = ours();
    if (reference.isEmpty())
        return QStringLiteral("the program's own schema could not be read");
    QStringList tables;
    {
        SqliteStatement objects(cache, "SELECT type, name, tbl_name, sql FROM sqlite_schema");
        if (!objects.isValid())
            return cache.errorMessage();
        int result = SQLITE_ROW;
        while ((result = objects.step()) == SQLITE_ROW) {
            if (const QString problem = problemWithObject(reference, objects); !problem.isEmpty())
                return problem;
            if (objects.columnText(0) == QLatin1String("table"))
                tables.append(objects.columnText(1));
        }
        if (result != SQLITE_DONE)
            return cache.errorMessage();
    }
    for (const QString &table : std::as_const(tables)) {
        bool ok = true;
        const QStringList lines = describe(cache, table, &ok);
        if (!ok)
            return cache.errorMessage();
        if (!reference.value(table).contains(lines))
            return QStringLiteral("its table %1 is not defined as a cache's").arg(table);
    }
    return QString();
}

// A view or a virtual table may stand where a table should be and never end, a trigger runs with
// every write, an index of someone else's is kept up to date with every write; none has a place
// in a cache.
QString CacheSchema::problemWithObject(const Definitions &reference, const SqliteStatement &object)
{
    const QString type = object.columnText(0);
    const QString name = object.columnText(1);
    const bool ownTable = type == QLatin1String("table") && reference.contains(name)
        && !object.columnText(3).startsWith(QLatin1String("CREATE VIRTUAL"), Qt::CaseInsensitive);
    const bool keyIndex = type == QLatin1String("index") && object.isNull(3)
        && name.startsWith(QLatin1String("sqlite_autoindex_")) && reference.contains(object.columnText(2));
    if (ownTable || keyIndex)
        return QString();
    return QStringLiteral("holds %1 %2, which is not part of a cache").arg(type, name);
}

QStringList CacheSchema::describe(SqliteConnection &connection, const QString &table, bool *ok)
{
    QStringList lines;
    SqliteStatement query(connection, kDescribeTable);
    if (!query.isValid()) {
        *ok = false;
        return lines;
    }
    query.bindText(1, table);
    int result = SQLITE_ROW;
    while ((result = query.step()) == SQLITE_ROW)
        lines.append(query.columnText(0));
    *ok = result == SQLITE_DONE;
    lines.sort();
    return lines;
}

const CacheSchema::Definitions &CacheSchema::ours()
{
    static const Definitions definitions = [] {
        SqliteConnection memory;
        const QByteArray schema = text();
        if (schema.isEmpty() || !memory.open(QStringLiteral(":memory:"), SqliteConnection::Mode::ReadWrite)
            || !memory.exec(schema.constData())) {
            Log::line(QStringLiteral("The cache schema could not be read: caches cannot be checked"));
            return Definitions();
        }
        return describeAll(memory);
    }();
    return definitions;
}

CacheSchema::Definitions CacheSchema::describeAll(SqliteConnection &connection)
{
    QStringList tables;
    {
        SqliteStatement names(connection, "SELECT name FROM sqlite_schema WHERE type = 'table'");
        while (names.isValid() && names.step() == SQLITE_ROW)
            tables.append(names.columnText(0));
    }
    Definitions definitions;
    for (const QString &table : std::as_const(tables)) {
        bool ok = true;
        const QStringList full = describe(connection, table, &ok);
        if (!ok)
            return Definitions();
        QStringList earlier = full;
        earlier.removeIf([&table](const QString &line) { return isLaterColumnLine(table, line); });
        definitions.insert(table, { full, earlier });
    }
    return definitions;
}

void CacheSchema::addLaterColumns(SqliteConnection &cache)
{
    for (const LaterColumn &later : kLaterColumns) {
        bool missing = false;
        {
            SqliteStatement columns(
                cache, "SELECT count(*), count(*) FILTER (WHERE name = ?2) FROM pragma_table_info(?1)");
            columns.bindText(1, QLatin1String(later.table));
            columns.bindText(2, QLatin1String(later.column));
            missing = columns.isValid() && columns.step() == SQLITE_ROW && columns.columnInt(0) > 0
                && columns.columnInt(1) == 0;
        }
        const QByteArray sql
            = QByteArray("ALTER TABLE ") + later.table + " ADD COLUMN " + later.column + ' ' + later.type;
        if (missing && !cache.exec(sql.constData()))
            Log::line(QStringLiteral("Cache could not be brought up to date: ") + cache.errorMessage());
    }
}
