#include "dictionary_database.h"

#include <optional>
#include <utility>

#include "data_folder.h"
#include "gbk_codec.h"

namespace lexomir {

namespace {

std::string_view databaseFileName(DictionaryDatabase database) {
    return database == DictionaryDatabase::XinHua ? kXinHuaDatabaseFile : kChengYuDatabaseFile;
}

// Rows in id order from the given id on; lookUp() reads the first one, and
// the next lookups of an ascending scan just step on.
const char* lookUpStatement(DictionaryDatabase database) {
    return database == DictionaryDatabase::XinHua
               ? "select * from xhzd where id >= ? order by id"
               : "select * from ChengYu where id >= ? order by id";
}

// Stepping over a row costs about half a search by id, so a lookup steps
// forward over at most this many rows and searches beyond that.
constexpr std::int64_t kMaxForwardSteps = 2;

std::string_view tableName(DictionaryDatabase database) {
    return database == DictionaryDatabase::XinHua ? "xhzd" : "ChengYu";
}

std::string engineMessage(sqlite3* db) {
    return db ? sqlite3_errmsg(db) : "out of memory";
}

[[noreturn]] void fail(int code, std::string what, const std::filesystem::path& file) {
    throw DatabaseError(code, std::move(what) + " (" + file.string() + ")");
}

// Column names compare as SQL compares them: ASCII case does not matter.
bool sameColumnName(std::string_view name, std::string_view wanted) {
    if (name.size() != wanted.size()) return false;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(name[i]) != lower(wanted[i])) return false;
    }
    return true;
}

}  // namespace

// --- Connection -----------------------------------------------------------

Connection::Connection(std::filesystem::path dataFolder) : m_dataFolder(std::move(dataFolder)) {}

Connection::~Connection() {
    close();
}

void Connection::select(DictionaryDatabase database) {
    close();
    m_selected = database;
}

std::filesystem::path Connection::selectedFile() const {
    return m_dataFolder / std::string(databaseFileName(m_selected));
}

sqlite3* Connection::handle() {
    if (m_db) return m_db;
    const std::filesystem::path file = selectedFile();
    sqlite3* db = nullptr;
    // Read-only and without SQLITE_OPEN_CREATE, so a missing file is an error
    // instead of a new empty database; used by one thread, so no mutex.
    const int rc =
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = engineMessage(db);
        sqlite3_close_v2(db);
        fail(rc, std::move(message), file);
    }
    sqlite3_extended_result_codes(db, 1);
    // No memory mapping: a file cut short by another program while it is
    // mapped would end the process with SIGBUS instead of an error message.
    sqlite3_exec(db, "pragma mmap_size = 0", nullptr, nullptr, nullptr);
    // One read transaction for as long as the file is open: otherwise every
    // lookup takes and drops the file lock and checks for a hot journal,
    // which costs more than the lookup itself.
    sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
    m_db = db;
    return m_db;
}

void Connection::close() noexcept {
    // close_v2 defers the real close until a Query finalizes a statement still
    // prepared on this handle; that also keeps the address from being reused
    // while such a statement lives, so Query can tell a reopened connection.
    if (m_db) sqlite3_close_v2(m_db);
    m_db = nullptr;
}

// --- Query ----------------------------------------------------------------

Query::Query(Connection& connection) : m_connection(connection) {}

Query::~Query() {
    // Never touches m_connection: the connection may already be gone.
    sqlite3_finalize(m_statement);
}

void Query::lookUp(std::int32_t id) {
    m_hasRow = false;
    sqlite3* db = nullptr;
    try {
        db = m_connection.handle();
    } catch (...) {
        close();
        throw;
    }
    const DictionaryDatabase database = m_connection.selected();
    if (m_statement && (m_preparedOn != db || m_preparedFor != database)) {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
    }
    auto failHere = [&](int rc) {
        std::string message = engineMessage(db);
        const std::filesystem::path file = m_connection.selectedFile();
        close();
        fail(rc, std::move(message), file);
    };

    if (m_statement == nullptr) {
        m_onRow = false;
        sqlite3_stmt* statement = nullptr;
        const int rc = sqlite3_prepare_v3(db, lookUpStatement(database), -1,
                                          SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(statement);
            failHere(rc);
        }
        m_statement = statement;
        m_preparedOn = db;
        m_preparedFor = database;
        m_columnNames.clear();
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            const char* name = sqlite3_column_name(statement, i);
            m_columnNames.emplace_back(name ? name : "");
        }
        m_idColumn = -1;
        for (std::size_t i = 0; i < m_columnNames.size() && m_idColumn < 0; ++i) {
            if (sameColumnName(m_columnNames[i], "id")) m_idColumn = static_cast<int>(i);
        }
        if (m_idColumn < 0) {
            const std::filesystem::path file = m_connection.selectedFile();
            close();
            fail(SQLITE_ERROR, "no such column: id in table " + std::string(tableName(database)),
                 file);
        }
    }

    auto step = [&] {
        const int rc = sqlite3_step(m_statement);
        m_onRow = rc == SQLITE_ROW;
        if (m_onRow) {
            m_cursorId = sqlite3_column_int64(m_statement, m_idColumn);
        } else if (rc != SQLITE_DONE) {
            failHere(rc);
        }
    };
    const bool closeAhead = m_onRow && id >= m_cursorId && id - m_cursorId <= kMaxForwardSteps;
    if (!closeAhead) {
        sqlite3_reset(m_statement);
        m_onRow = false;
        const int rc = sqlite3_bind_int64(m_statement, 1, id);
        if (rc != SQLITE_OK) failHere(rc);
        step();
    }
    while (m_onRow && m_cursorId < id) step();
    m_hasRow = m_onRow && m_cursorId == id;
}

int Query::columnIndex(std::string_view column) const {
    for (std::size_t i = 0; i < m_columnNames.size(); ++i) {
        if (sameColumnName(m_columnNames[i], column)) return static_cast<int>(i);
    }
    fail(SQLITE_ERROR,
         "no such column: " + std::string(column) + " in table " +
             std::string(tableName(m_preparedFor)),
         m_connection.selectedFile());
}

std::string_view Query::utf8(std::string_view column) const {
    if (m_statement == nullptr) return {};
    const int index = columnIndex(column);
    if (!m_hasRow) return {};
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, index));
    if (text == nullptr) return {};
    return {text, static_cast<std::size_t>(sqlite3_column_bytes(m_statement, index))};
}

std::string Query::text(std::string_view column) const {
    const std::string_view value = utf8(column);
    try {
        return utf8ToGbk(value);
    } catch (const TextConversionError&) {
        fail(SQLITE_MISMATCH, "column " + std::string(column) + " does not hold UTF-8 text",
             m_connection.selectedFile());
    }
}

std::int32_t Query::integer(std::string_view column) const {
    if (m_statement == nullptr) return 0;
    const int index = columnIndex(column);
    if (!m_hasRow) return 0;
    return sqlite3_column_int(m_statement, index);
}

void Query::close() noexcept {
    sqlite3_finalize(m_statement);
    m_statement = nullptr;
    m_preparedOn = nullptr;
    m_hasRow = false;
    m_onRow = false;
    m_columnNames.clear();
    m_connection.close();
}

// --- Readers ----------------------------------------------------------------

CharacterEntry readCharacterEntry(const Query& query) {
    CharacterEntry entry;
    entry.zi = query.text("zi");
    entry.pinyin = query.text("pinyin");
    entry.py = query.text("py");
    entry.bushou = query.text("bushou");
    entry.bihua = query.integer("bihua");
    entry.wubi = query.text("wubi");
    entry.jijie = query.text("jijie");
    entry.xiangjie = query.text("xiangjie");
    return entry;
}

IdiomEntry readIdiomEntry(const Query& query) {
    IdiomEntry entry;
    entry.ChengYu = query.text("ChengYu");
    entry.PinYin = query.text("PinYin");
    entry.DianGu = query.text("DianGu");
    entry.ChuChu = query.text("ChuChu");
    entry.LiZi = query.text("LiZi");
    return entry;
}

// --- Meaning filter -----------------------------------------------------------

namespace {

std::optional<std::vector<std::string>> keywordsAsUtf8(const std::vector<std::string>& gbk) {
    std::vector<std::string> utf8;
    utf8.reserve(gbk.size());
    try {
        for (const std::string& keyword : gbk) utf8.push_back(gbkToUtf8(keyword));
    } catch (const TextConversionError&) {
        return std::nullopt;
    }
    return utf8;
}

}  // namespace

MeaningFilter makeMeaningFilter(Query& query, const std::vector<std::string>& gbkKeywords,
                                int meaningRange) {
    std::optional<std::vector<std::string>> utf8Keywords = keywordsAsUtf8(gbkKeywords);
    if (!utf8Keywords) {
        // A keyword that is not valid GBK has no UTF-8 form to search for;
        // fall back to the byte-exact GBK search on converted rows.
        return [&query, keywords = gbkKeywords, meaningRange](std::int32_t id) {
            query.lookUp(id);
            if (!query.hasRow()) return false;
            const std::string jijie = query.text("jijie");
            const std::string xiangjie = meaningRange >= 2 ? query.text("xiangjie") : std::string();
            return anyKeywordOccurs(keywords, jijie, xiangjie, meaningRange);
        };
    }
    // In valid UTF-8 a plain byte match of a whole character sequence can only
    // begin on a character boundary, so no alignment check is needed.
    return [&query, keywords = std::move(*utf8Keywords), meaningRange](std::int32_t id) {
        if (meaningRange < 1) return false;
        query.lookUp(id);
        if (!query.hasRow()) return false;
        const std::string_view jijie = query.utf8("jijie");
        const std::string_view xiangjie =
            meaningRange >= 2 ? query.utf8("xiangjie") : std::string_view();
        for (const std::string& keyword : keywords) {
            if (keyword.empty()) continue;
            if (jijie.find(keyword) != std::string_view::npos) return true;
            if (xiangjie.find(keyword) != std::string_view::npos) return true;
        }
        return false;
    };
}

}  // namespace lexomir
