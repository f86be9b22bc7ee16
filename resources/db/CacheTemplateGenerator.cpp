// Build-time tool: turns the cache schema (SQL text) into a template database file, so the
// template compiled into the program is always exactly what the reviewed schema says.
//
// Usage: qny_cache_template_generator <schema.sql> <output.db>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <sqlite3.h>

namespace {

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
    if (argc != 3)
        return fail("usage: qny_cache_template_generator <schema.sql> <output.db>");
    std::string schema;
    if (!readText(argv[1], schema))
        return fail(std::string("cannot read ") + argv[1]);

    // A stale output would keep tables the schema no longer has.
    std::remove(argv[2]);
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(argv[2], &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        return fail(std::string("cannot create ") + argv[2] + ": " + message);
    }
    char *error = nullptr;
    const int rc = sqlite3_exec(db, schema.c_str(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK) {
        std::remove(argv[2]);
        return fail(std::string("schema failed: ") + message);
    }
    return 0;
}
