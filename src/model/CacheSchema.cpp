#include "model/CacheSchema.h"

#include <sqlite3.h>

#include <QFile>
#include <QRegularExpression>

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

// The statement's text with its layout taken out: SQLite keeps the text a table was made with and
// edits it when a column is added or dropped, so only the spacing may differ between a cache made
// from our schema and our schema itself. Our statements hold no quoted text whose spacing counts.
QString normalized(const QString &sql)
{
    QString text = sql.simplified();
    static const QRegularExpression kSpaceAtPunctuation(QStringLiteral(" ?([(),]) ?"));
    return text.replace(kSpaceAtPunctuation, QStringLiteral("\\1"));
}

} // namespace

QByteArray CacheSchema::text()
{
    QFile schema(AppFolders::resourcePath(QStringLiteral("db/schema.sql")));
    return schema.open(QIODevice::ReadOnly) ? schema.readAll() : QByteArray();
}

// The text of each table (which says every column with its type, constraints and default, a
// generated column, a key, a collation and a table without row ids alike) and the indexes SQLite
// made for its keys. A view or a virtual table may stand where a table should be and never end, a
// trigger runs with every write, an index of someone else's is kept up to date with every write;
// none has a place in a cache.
QString CacheSchema::problem(SqliteConnection &cache)
{
    const Definitions &reference = ours();
    if (reference.isEmpty())
        return QStringLiteral("the program's own schema could not be read");
    Definitions found;
    {
        SqliteStatement objects(cache, "SELECT type, name, tbl_name, sql FROM sqlite_schema");
        if (!objects.isValid())
            return cache.errorMessage();
        int result = SQLITE_ROW;
        while ((result = objects.step()) == SQLITE_ROW) {
            const QString type = objects.columnText(0);
            const QString name = objects.columnText(1);
            const QString table = objects.columnText(2);
            const QString sql = normalized(objects.columnText(3));
            const Definition ours = reference.value(table);
            if (type == QLatin1String("table") && ours.texts.contains(sql))
                found[table].texts.append(sql);
            else if (type == QLatin1String("index") && objects.isNull(3) && ours.keyIndexes.contains(name))
                found[table].keyIndexes.append(name);
            else
                return QStringLiteral("holds %1 %2, which is not part of a cache as it stands")
                    .arg(type, name);
        }
        if (result != SQLITE_DONE)
            return cache.errorMessage();
    }
    for (auto table = found.begin(); table != found.end(); ++table) {
        table->keyIndexes.sort();
        if (table->keyIndexes != reference.value(table.key()).keyIndexes)
            return QStringLiteral("its table %1 lacks an index of its keys").arg(table.key());
    }
    return QString();
}

const CacheSchema::Definitions &CacheSchema::ours()
{
    static const Definitions definitions = [] {
        SqliteConnection memory;
        const QByteArray schema = text();
        Definitions made;
        if (schema.isEmpty() || !memory.open(QStringLiteral(":memory:"), SqliteConnection::Mode::ReadWrite)
            || !memory.exec(schema.constData())) {
            Log::line(QStringLiteral("The cache schema could not be read: caches cannot be checked"));
            return made;
        }
        SqliteStatement objects(memory, "SELECT type, name, tbl_name, sql FROM sqlite_schema");
        while (objects.isValid() && objects.step() == SQLITE_ROW) {
            Definition &table = made[objects.columnText(2)];
            if (objects.columnText(0) == QLatin1String("index")) {
                table.keyIndexes.append(objects.columnText(1));
                table.keyIndexes.sort();
                continue;
            }
            table.texts.append(normalized(objects.columnText(3)));
            for (const LaterColumn &later : kLaterColumns) {
                if (objects.columnText(1) == QLatin1String(later.table))
                    table.texts.append(QString(table.texts.constFirst())
                                           .remove(QStringLiteral(",%1 %2").arg(
                                               QLatin1String(later.column), QLatin1String(later.type))));
            }
        }
        return made;
    }();
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
