// ChengYu.db: table ChengYu, one row per record of ChengYu.dat, id = record
// number, text in UTF-8. Built in a temporary file with a fixed page size,
// no journal and a final VACUUM, so the same rows give the same bytes.
#include <sqlite3.h>

#include <memory>

#include "chengyu_builder.h"

namespace lexomir::chengyu {
namespace {

constexpr const char* kSchema =
    "PRAGMA page_size = 4096;"
    "PRAGMA journal_mode = OFF;"
    "PRAGMA synchronous = OFF;"
    "CREATE TABLE ChengYu ("
    " id INTEGER PRIMARY KEY,"
    " ChengYu TEXT NOT NULL,"
    " PinYin TEXT NOT NULL,"
    " DianGu TEXT NOT NULL,"
    " ChuChu TEXT NOT NULL,"
    " LiZi TEXT NOT NULL);";

struct DatabaseCloser {
    void operator()(sqlite3* db) const noexcept { sqlite3_close(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const noexcept { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

[[noreturn]] void fail(sqlite3* db, const std::filesystem::path& file, const std::string& what) {
    throw BuildError(file.string() + ": " + what + ": " +
                     (db ? sqlite3_errmsg(db) : "out of memory"));
}

void execute(sqlite3* db, const std::filesystem::path& file, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) fail(db, file, sql);
}

void insertRows(sqlite3* db, const std::filesystem::path& file, const std::vector<IdiomRow>& rows) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, "INSERT INTO ChengYu VALUES (?, ?, ?, ?, ?, ?)", -1, &raw,
                           nullptr) != SQLITE_OK) {
        fail(db, file, "prepare insert");
    }
    Statement insert(raw);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const IdiomRow& row = rows[i];
        sqlite3_reset(insert.get());
        sqlite3_bind_int64(insert.get(), 1, static_cast<sqlite3_int64>(i + 1));
        int column = 2;
        for (const std::string* text :
             {&row.chengYu, &row.pinYin, &row.dianGu, &row.chuChu, &row.liZi}) {
            sqlite3_bind_text(insert.get(), column++, text->data(), static_cast<int>(text->size()),
                              SQLITE_STATIC);
        }
        if (sqlite3_step(insert.get()) != SQLITE_DONE)
            fail(db, file, "insert row " + std::to_string(i + 1));
    }
}

}  // namespace

void writeChengYuDb(const std::filesystem::path& file, const std::vector<IdiomRow>& rows) {
    std::filesystem::path temporary = file;
    temporary += ".tmp";
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    try {
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(temporary.c_str(), &raw,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        Database db(raw);
        if (rc != SQLITE_OK) fail(raw, temporary, "cannot create");
        execute(db.get(), temporary, kSchema);
        execute(db.get(), temporary, "BEGIN");
        insertRows(db.get(), temporary, rows);
        execute(db.get(), temporary, "COMMIT");
        execute(db.get(), temporary, "VACUUM");
        if (sqlite3_close(db.release()) != SQLITE_OK)
            throw BuildError(temporary.string() + ": cannot close");
    } catch (...) {
        std::filesystem::remove(temporary, ignored);
        throw;
    }
    std::error_code error;
    std::filesystem::rename(temporary, file, error);
    if (error) {
        std::filesystem::remove(temporary, ignored);
        throw BuildError("cannot replace " + file.string() + ": " + error.message());
    }
}

}  // namespace lexomir::chengyu
