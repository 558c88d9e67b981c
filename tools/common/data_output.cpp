#include "data_output.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>

#include "sqlite_handles.h"

namespace lexomir::data {
namespace fs = std::filesystem;
namespace {

fs::path temporaryBeside(const fs::path& file) {
    fs::path temporary = file;
    temporary += ".tmp";
    return temporary;
}

void moveIntoPlace(const fs::path& temporary, const fs::path& file) {
    std::error_code error;
    fs::rename(temporary, file, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw BuildError("cannot replace " + file.string() + ": " + error.message());
    }
}

[[noreturn]] void fail(sqlite3* db, const fs::path& file, const std::string& what) {
    throw BuildError(file.string() + ": " + what + ": " +
                     (db ? sqlite3_errmsg(db) : "out of memory"));
}

void execute(sqlite3* db, const fs::path& file, const std::string& sql) {
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) fail(db, file, sql);
}

// "CREATE TABLE t (a INTEGER, b TEXT)"
std::string createTableSql(std::string_view table, std::span<const ColumnDefinition> columns) {
    std::string sql = "CREATE TABLE " + std::string(table) + " (";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i > 0) sql += ", ";
        sql += std::string(columns[i].name) + " " + std::string(columns[i].type);
    }
    return sql + ")";
}

// "INSERT INTO t (a, b) VALUES (?, ?)"
std::string insertSql(std::string_view table, std::span<const ColumnDefinition> columns) {
    std::string names;
    std::string values;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i > 0) {
            names += ", ";
            values += ", ";
        }
        names += columns[i].name;
        values += "?";
    }
    return "INSERT INTO " + std::string(table) + " (" + names + ") VALUES (" + values + ")";
}

void insertRows(sqlite3* db, const fs::path& file, const std::string& sql, std::size_t rowCount,
                const std::function<void(RowBinder&, std::size_t)>& bindRow) {
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
    const SqliteStatement insert(raw);
    if (rc != SQLITE_OK) fail(db, file, "prepare insert");
    RowBinder binder(db, insert.get());
    for (std::size_t i = 0; i < rowCount; ++i) {
        sqlite3_reset(insert.get());
        bindRow(binder, i);
        if (sqlite3_step(insert.get()) != SQLITE_DONE) {
            fail(db, file, "insert row " + std::to_string(i + 1));
        }
    }
}

}  // namespace

void RowBinder::text(int column, const std::string& utf8) {
    // SQLITE_STATIC: the row's strings outlive the step that reads them.
    if (sqlite3_bind_text(m_statement, column, utf8.data(), static_cast<int>(utf8.size()),
                          SQLITE_STATIC) != SQLITE_OK) {
        throw BuildError(std::string("SQLite, bind: ") + sqlite3_errmsg(m_db));
    }
}

void RowBinder::integer(int column, std::int64_t value) {
    if (sqlite3_bind_int64(m_statement, column, value) != SQLITE_OK) {
        throw BuildError(std::string("SQLite, bind: ") + sqlite3_errmsg(m_db));
    }
}

void RowBinder::blob(int column, std::string_view bytes) {
    // A zero-length blob, not NULL, for an empty list.
    if (sqlite3_bind_blob64(m_statement, column, bytes.empty() ? "" : bytes.data(), bytes.size(),
                            SQLITE_STATIC) != SQLITE_OK) {
        throw BuildError(std::string("SQLite, bind: ") + sqlite3_errmsg(m_db));
    }
}

void writeFileReplacing(const fs::path& file, std::string_view bytes) {
    const fs::path temporary = temporaryBeside(file);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            throw BuildError("cannot create " + temporary.string() + ": " + std::strerror(errno));
        }
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            throw BuildError("cannot write " + temporary.string());
        }
    }
    moveIntoPlace(temporary, file);
}

void writeDatabaseReplacing(const fs::path& file, std::span<const TableContent> tables,
                            int pageSize) {
    const fs::path temporary = temporaryBeside(file);
    std::error_code ignored;
    fs::remove(temporary, ignored);
    try {
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(temporary.c_str(), &raw,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        SqliteConnection db(raw);
        if (rc != SQLITE_OK) fail(raw, temporary, "cannot create");
        execute(db.get(), temporary, "PRAGMA page_size = " + std::to_string(pageSize));
        execute(db.get(), temporary, "PRAGMA journal_mode = OFF");
        execute(db.get(), temporary, "PRAGMA synchronous = OFF");
        execute(db.get(), temporary, "BEGIN");
        for (const TableContent& table : tables) {
            execute(db.get(), temporary, createTableSql(table.name, table.columns));
            insertRows(db.get(), temporary, insertSql(table.name, table.columns), table.rowCount,
                       table.bindRow);
        }
        execute(db.get(), temporary, "COMMIT");
        execute(db.get(), temporary, "VACUUM");
        if (sqlite3_close(db.release()) != SQLITE_OK) {
            throw BuildError(temporary.string() + ": cannot close");
        }
    } catch (...) {
        fs::remove(temporary, ignored);
        throw;
    }
    moveIntoPlace(temporary, file);
}

void writeDatabaseReplacing(const fs::path& file, std::string_view table,
                            std::span<const ColumnDefinition> columns, std::size_t rowCount,
                            const std::function<void(RowBinder&, std::size_t)>& bindRow) {
    const TableContent content[] = {{table, columns, rowCount, bindRow}};
    writeDatabaseReplacing(file, content);
}

}  // namespace lexomir::data
