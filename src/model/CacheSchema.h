// What a cache file must hold to be one of ours: our tables, each defined exactly as our schema
// defines it (the same columns with the same types, constraints and defaults, no hidden or
// generated column, the same key indexes), and nothing else. A file that passes the name check
// alone may still cost without bound: a stored generated column makes every row as large as its
// expression wants, a table without its unique path index makes every lookup read the whole table.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

class SqliteConnection;

class CacheSchema
{
public:
    // The statements that make the tables (the resources' "db/schema.sql"); empty when missing.
    static QByteArray text();
    // Empty when the open cache holds nothing but our tables, each as ours defines it (a table
    // that is missing is added later, a column added after a table's first release may be missing
    // at its end); otherwise what is not ours, for the log.
    static QString problem(SqliteConnection &cache);
    // Adds to an open cache the later columns it lacks (NULL in every old row).
    static void addLaterColumns(SqliteConnection &cache);

private:
    struct Definition {
        // The table's statement, without its layout; then the one of a file made before the
        // table's later columns existed.
        QStringList texts;
        // The names of the indexes SQLite made for the table's keys, sorted.
        QStringList keyIndexes;
    };
    using Definitions = QHash<QString, Definition>;
    static const Definitions &ours();
};
