// Writing the data files both builders make: never half-written (each file is
// built beside its final name and renamed into place), and the same input
// always gives the same bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace lexomir::data {

// Every rule the input breaks, every file that cannot be read or written.
class BuildError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Writes bytes to file through a temporary file beside it.
void writeFileReplacing(const std::filesystem::path& file, std::string_view bytes);

// Binds the values of one row to the insert statement, by 1-based column.
class RowBinder {
  public:
    RowBinder(sqlite3* db, sqlite3_stmt* statement) : m_db(db), m_statement(statement) {}
    void text(int column, const std::string& utf8);
    void integer(int column, std::int64_t value);
    void blob(int column, std::string_view bytes);

  private:
    sqlite3* m_db;
    sqlite3_stmt* m_statement;
};

// A column of a table the builders create: its name and its SQL type.
struct ColumnDefinition {
    std::string_view name;
    std::string_view type;
};

// One table of a database file and how to fill it: rowCount rows,
// bindRow(binder, i) binding the values of row i in column order.
struct TableContent {
    std::string_view name;
    std::span<const ColumnDefinition> columns;
    std::size_t rowCount = 0;
    std::function<void(RowBinder&, std::size_t)> bindRow;
};

// Makes a SQLite file with a fixed page size, no journal and a final VACUUM:
// creates each table and inserts its rows, in this order, all in one
// transaction. Only a complete file replaces file. Rows of several kilobytes
// waste less of larger pages.
inline constexpr int kDefaultPageSize = 4096;
void writeDatabaseReplacing(const std::filesystem::path& file, std::span<const TableContent> tables,
                            int pageSize = kDefaultPageSize);
// The same with one table.
void writeDatabaseReplacing(const std::filesystem::path& file, std::string_view table,
                            std::span<const ColumnDefinition> columns, std::size_t rowCount,
                            const std::function<void(RowBinder&, std::size_t)>& bindRow);

}  // namespace lexomir::data
