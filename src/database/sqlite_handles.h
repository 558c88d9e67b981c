// Owning handles for SQLite's connection and statement objects: whoever holds
// one closes it on every path, and a destructor never throws.
#pragma once

#include <sqlite3.h>

#include <memory>

namespace lexomir {

struct SqliteCloser {
    // close_v2 waits for statements still prepared on the connection instead
    // of failing.
    void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};

struct SqliteFinalizer {
    void operator()(sqlite3_stmt* statement) const noexcept { sqlite3_finalize(statement); }
};

using SqliteConnection = std::unique_ptr<sqlite3, SqliteCloser>;
using SqliteStatement = std::unique_ptr<sqlite3_stmt, SqliteFinalizer>;

}  // namespace lexomir
