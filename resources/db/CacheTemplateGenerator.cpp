// Build-time tool: turns the cache schema (SQL text) into a template database file, so the
// template compiled into the program is always exactly what the reviewed schema says.
//
// Usage: qny_cache_template_generator <output.db> <file.sql>...  (the SQL files run in order)

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <sqlite3.h>

namespace
{

bool readText(const char *path, std::string &text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

int fail(const std::string &message)
{
    std::fprintf(stderr, "qny_cache_template_generator: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3)
        return fail("usage: qny_cache_template_generator <output.db> <file.sql>...");
    const char *output = argv[1];

    // A stale output would keep tables the schema no longer has.
    std::remove(output);
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(output, &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        return fail(std::string("cannot create ") + output + ": " + message);
    }
    for (int i = 2; i < argc; ++i) {
        std::string sql;
        std::string message;
        if (!readText(argv[i], sql)) {
            message = "cannot read the file";
        } else {
            char *error = nullptr;
            if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK)
                message = error ? error : "failed";
            sqlite3_free(error);
        }
        if (!message.empty()) {
            sqlite3_close(db);
            std::remove(output);
            return fail(std::string(argv[i]) + ": " + message);
        }
    }
    sqlite3_close(db);
    return 0;
}
