// The dictionary databases (XinHua.db, table xhzd; ChengYu.db, table ChengYu)
// on SQLite. One connection (Aconn) and one query bound to it (Aquery): select
// a database, look a row up by id, read its columns by name; the connection's
// owner closes it. SQLite stores UTF-8; callers get GBK.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "character_filters.h"  // MeaningFilter, ToneFilter
#include "entry_text.h"
#include "sqlite_handles.h"

namespace lexomir {

// Every engine failure: missing or corrupt file, missing table or column.
// what() is "<reason> (<file>)".
class DatabaseError : public std::runtime_error {
  public:
    DatabaseError(int code, const std::string& reason, const std::filesystem::path& file)
        : std::runtime_error(reason + " (" + file.string() + ")"),
          m_code(code),
          m_reason(reason),
          m_file(file) {}
    int code() const noexcept { return m_code; }
    // SQLite's message or ours, e.g. "file is not a database".
    const std::string& reason() const noexcept { return m_reason; }
    const std::filesystem::path& file() const noexcept { return m_file; }

  private:
    int m_code;
    std::string m_reason;
    std::filesystem::path m_file;
};

enum class DictionaryDatabase { XinHua, ChengYu };

class Connection {
  public:
    explicit Connection(std::filesystem::path dataFolder);
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Closes any open file and points the connection at one database; the
    // file is opened on first use.
    void select(DictionaryDatabase database);
    DictionaryDatabase selected() const { return m_selected; }
    std::filesystem::path selectedFile() const;
    // Opens the selected file read-only if it is not open yet.
    sqlite3* handle();
    bool isOpen() const { return m_db != nullptr; }
    void close() noexcept;

  private:
    std::filesystem::path m_dataFolder;
    DictionaryDatabase m_selected = DictionaryDatabase::XinHua;
    SqliteConnection m_db;
};

class Query {
  public:
    explicit Query(Connection& connection);
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    // Makes the row of the selected database's table whose id is id (a bound
    // parameter, never pasted into SQL) the current row; hasRow() is false
    // when there is none. A failure ends the statement and throws.
    void lookUp(std::int32_t id);
    bool hasRow() const { return m_hasRow; }
    // GBK text of a column of the current row; empty for no row or null.
    std::string text(std::string_view column) const;
    // 0 for no row or null.
    std::int32_t integer(std::string_view column) const;
    // Whether the prepared table has the column (a column added later may be
    // missing from an older file).
    bool hasColumn(std::string_view column) const;
    // UTF-8 bytes of a column of the current row, valid until the next
    // lookUp or finalize; empty for no row or null.
    std::string_view utf8(std::string_view column) const;
    // Ends the statement. The connection stays as it is: its owner closes it.
    void finalize() noexcept;
    Connection& connection() { return m_connection; }

  private:
    // The statement for the selected database on the connection's current
    // file, prepared again when either changed.
    void prepare();
    // Moves the cursor to the row with this id, or past where it would be.
    void seek(std::int32_t id);
    void step();
    // Ends the statement and throws unless rc tells of success.
    void check(int rc);
    [[noreturn]] void failWith(int rc);
    int columnIndex(std::string_view column) const;

    Connection& m_connection;
    SqliteStatement m_statement;
    sqlite3* m_preparedOn = nullptr;
    DictionaryDatabase m_preparedFor = DictionaryDatabase::XinHua;
    bool m_hasRow = false;
    // The statement is a cursor over ids in ascending order, so the lookups of
    // a scan (ids 1, 2, 3, ...) step forward instead of searching each id.
    std::vector<std::string> m_columnNames;  // of the prepared statement
    int m_idColumn = -1;
    bool m_onRow = false;         // the cursor stands on a row ...
    std::int64_t m_cursorId = 0;  // ... with this id
};

// One use of a database: selects it, and on every way out ends the query's
// statement and closes the connection, so that the file is open only while
// it is in use.
class DatabaseUse {
  public:
    DatabaseUse(Connection& connection, Query& query, DictionaryDatabase database);
    ~DatabaseUse();
    DatabaseUse(const DatabaseUse&) = delete;
    DatabaseUse& operator=(const DatabaseUse&) = delete;

  private:
    Connection& m_connection;
    Query& m_query;
};

// The columns the detail views show, read from the current row.
CharacterEntry readCharacterEntry(const Query& query);
IdiomEntry readIdiomEntry(const Query& query);

enum class MeaningLookup {
    // The meaning index, where the file has one and every keyword is
    // Chinese; else every row.
    Indexed,
    EveryRow,
};

// Meaning filter for the combined search over the connection's character
// database: whether record id's explanations hold a keyword, as
// anyKeywordOccurs tells on the same rows. Row by row it looks each record up
// and searches its UTF-8 explanations for the keywords (converted once), so
// that no row needs converting; indexed, its first call reads the index and
// the rows that hold every character of a longer keyword, and the later calls
// only look the answer up.
MeaningFilter makeMeaningFilter(Query& query, const std::vector<std::string>& gbkKeywords,
                                int meaningRange, MeaningLookup lookup = MeaningLookup::Indexed);

// Tone filter for the pinyin search over the connection's character
// database: looks record id up and tests its tone-marked readings.
ToneFilter makeToneFilter(Query& query, PinyinSpelling wanted);

}  // namespace lexomir
