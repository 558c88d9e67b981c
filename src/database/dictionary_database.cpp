#include "dictionary_database.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <optional>
#include <utility>

#include "data_folder.h"
#include "dictionary_tables.h"
#include "gbk_codec.h"
#include "meaning_index.h"

namespace lexomir {

namespace {

std::string_view databaseFileName(DictionaryDatabase database) {
    return database == DictionaryDatabase::XinHua ? kXinHuaDatabaseFile : kChengYuDatabaseFile;
}

std::string_view tableName(DictionaryDatabase database) {
    return database == DictionaryDatabase::XinHua ? xhzd_table::kName : chengyu_table::kName;
}

std::string_view idColumn(DictionaryDatabase database) {
    return database == DictionaryDatabase::XinHua ? xhzd_table::kId : chengyu_table::kId;
}

// Rows in id order from the given id on; seek() reads the first one, and the
// next lookups of an ascending scan just step on.
std::string lookUpStatement(DictionaryDatabase database) {
    const std::string id(idColumn(database));
    return "select * from " + std::string(tableName(database)) + " where " + id +
           " >= ? order by " + id;
}

// Stepping over a row costs about half a search by id, so a lookup steps
// forward over at most this many rows and searches beyond that.
constexpr std::int64_t kMaxForwardSteps = 2;

bool succeeded(int rc) {
    return rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE;
}

DatabaseError engineError(int rc, sqlite3* db, const std::filesystem::path& file) {
    return DatabaseError(rc, db ? sqlite3_errmsg(db) : "out of memory", file);
}

void check(int rc, sqlite3* db, const std::filesystem::path& file) {
    if (!succeeded(rc)) throw engineError(rc, db, file);
}

[[noreturn]] void fail(int code, const std::string& what, const std::filesystem::path& file) {
    throw DatabaseError(code, what, file);
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

void Connection::select(DictionaryDatabase database) {
    close();
    m_selected = database;
}

std::filesystem::path Connection::selectedFile() const {
    return m_dataFolder / std::string(databaseFileName(m_selected));
}

sqlite3* Connection::handle() {
    if (m_db) return m_db.get();
    const std::filesystem::path file = selectedFile();
    sqlite3* opened = nullptr;
    // Read-only and without SQLITE_OPEN_CREATE, so a missing file is an error
    // instead of a new empty database; used by one thread, so no mutex.
    const int rc =
        sqlite3_open_v2(file.c_str(), &opened, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    SqliteConnection db(opened);
    check(rc, db.get(), file);
    check(sqlite3_extended_result_codes(db.get(), 1), db.get(), file);
    // No memory mapping: a file cut short by another program while it is
    // mapped would end the process with SIGBUS instead of an error message.
    check(sqlite3_exec(db.get(), "pragma mmap_size = 0", nullptr, nullptr, nullptr), db.get(),
          file);
    // One read transaction for as long as the file is open: otherwise every
    // lookup takes and drops the file lock and checks for a hot journal,
    // which costs more than the lookup itself.
    check(sqlite3_exec(db.get(), "begin", nullptr, nullptr, nullptr), db.get(), file);
    m_db = std::move(db);
    return m_db.get();
}

void Connection::close() noexcept {
    // The real close waits until a Query finalizes a statement still prepared
    // on this handle; that also keeps the address from being reused while
    // such a statement lives, so Query can tell a reopened connection.
    m_db.reset();
}

// --- Query ----------------------------------------------------------------

Query::Query(Connection& connection) : m_connection(connection) {}

void Query::check(int rc) {
    if (!succeeded(rc)) failWith(rc);
}

void Query::failWith(int rc) {
    const DatabaseError error = engineError(rc, m_preparedOn, m_connection.selectedFile());
    finalize();
    throw error;
}

void Query::lookUp(std::int32_t id) {
    m_hasRow = false;
    prepare();
    seek(id);
}

void Query::prepare() {
    sqlite3* db = nullptr;
    try {
        db = m_connection.handle();
    } catch (...) {
        finalize();
        throw;
    }
    const DictionaryDatabase database = m_connection.selected();
    if (m_statement && m_preparedOn == db && m_preparedFor == database) return;

    finalize();
    sqlite3_stmt* prepared = nullptr;
    const int rc = sqlite3_prepare_v3(db, lookUpStatement(database).c_str(), -1,
                                      SQLITE_PREPARE_PERSISTENT, &prepared, nullptr);
    m_statement.reset(prepared);
    m_preparedOn = db;
    m_preparedFor = database;
    check(rc);
    for (int i = 0; i < sqlite3_column_count(prepared); ++i) {
        const char* name = sqlite3_column_name(prepared, i);
        m_columnNames.emplace_back(name ? name : "");
    }
    try {
        m_idColumn = columnIndex(idColumn(database));
    } catch (const DatabaseError&) {
        finalize();
        throw;
    }
}

void Query::seek(std::int32_t id) {
    const bool closeAhead = m_onRow && id >= m_cursorId && id - m_cursorId <= kMaxForwardSteps;
    if (!closeAhead) {
        check(sqlite3_reset(m_statement.get()));
        m_onRow = false;
        check(sqlite3_bind_int64(m_statement.get(), 1, id));
        step();
    }
    while (m_onRow && m_cursorId < id) step();
    m_hasRow = m_onRow && m_cursorId == id;
}

void Query::step() {
    const int rc = sqlite3_step(m_statement.get());
    check(rc);
    m_onRow = rc == SQLITE_ROW;
    if (m_onRow) m_cursorId = sqlite3_column_int64(m_statement.get(), m_idColumn);
}

bool Query::hasColumn(std::string_view column) const {
    for (const std::string& name : m_columnNames)
        if (sameColumnName(name, column)) return true;
    return false;
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
    if (!m_statement) return {};
    const int index = columnIndex(column);
    if (!m_hasRow) return {};
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement.get(), index));
    if (text == nullptr) return {};
    return {text, static_cast<std::size_t>(sqlite3_column_bytes(m_statement.get(), index))};
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
    if (!m_statement) return 0;
    const int index = columnIndex(column);
    if (!m_hasRow) return 0;
    return sqlite3_column_int(m_statement.get(), index);
}

void Query::finalize() noexcept {
    m_statement.reset();
    m_preparedOn = nullptr;
    m_hasRow = false;
    m_onRow = false;
    m_columnNames.clear();
    m_idColumn = -1;
}

// --- DatabaseUse --------------------------------------------------------------

DatabaseUse::DatabaseUse(Connection& connection, Query& query, DictionaryDatabase database)
    : m_connection(connection), m_query(query) {
    m_connection.select(database);
}

DatabaseUse::~DatabaseUse() {
    m_query.finalize();
    m_connection.close();
}

// --- Readers ----------------------------------------------------------------

// A braced list reads the columns in the order written, so the first missing
// one is the one reported.
CharacterEntry readCharacterEntry(const Query& query) {
    namespace t = xhzd_table;
    return {query.text(t::kZi),
            query.text(t::kPinyin),
            query.text(t::kPy),
            query.text(t::kBushou),
            query.integer(t::kBihua),
            query.text(t::kWubi),
            query.text(t::kJijie),
            query.text(t::kXiangjie),
            query.hasColumn(t::kBishun) ? query.text(t::kBishun) : std::string()};
}

IdiomEntry readIdiomEntry(const Query& query) {
    namespace t = chengyu_table;
    return {query.text(t::kChengYu), query.text(t::kPinYin), query.text(t::kDianGu),
            query.text(t::kChuChu), query.text(t::kLiZi)};
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

bool holdsOnlyWideCharacters(const std::vector<std::string>& utf8Keywords) {
    return std::all_of(utf8Keywords.begin(), utf8Keywords.end(), [](const std::string& keyword) {
        return std::all_of(keyword.begin(), keyword.end(),
                           [](char byte) { return static_cast<unsigned char>(byte) >= 0x80; });
    });
}

bool explanationsHold(const Query& query, const std::string& keyword, int meaningRange) {
    if (query.utf8(xhzd_table::kJijie).find(keyword) != std::string_view::npos) return true;
    return meaningRange >= 2 &&
           query.utf8(xhzd_table::kXiangjie).find(keyword) != std::string_view::npos;
}

// In valid UTF-8 a plain byte match of a whole character sequence can only
// begin on a character boundary, so no alignment check is needed.
MeaningFilter rowByRowFilter(Query& query, std::vector<std::string> utf8Keywords,
                             int meaningRange) {
    return [&query, keywords = std::move(utf8Keywords), meaningRange](std::int32_t id) {
        if (meaningRange < 1) return false;
        query.lookUp(id);
        if (!query.hasRow()) return false;
        return std::any_of(keywords.begin(), keywords.end(), [&](const std::string& keyword) {
            return !keyword.empty() && explanationsHold(query, keyword, meaningRange);
        });
    };
}

// The records that hold every character of keyword; for a keyword of one
// character, exactly those whose explanations hold it.
std::vector<std::int32_t> candidatesFor(MeaningIndexReader& index, std::string_view keyword,
                                        bool wholeEntry) {
    std::vector<std::int32_t> candidates;
    bool first = true;
    for (const std::string_view character : distinctWideCharacters(keyword)) {
        std::vector<std::int32_t> holding = index.recordsHolding(character, wholeEntry);
        if (!first) {
            std::vector<std::int32_t> both;
            std::set_intersection(candidates.begin(), candidates.end(), holding.begin(),
                                  holding.end(), std::back_inserter(both));
            holding = std::move(both);
        }
        candidates = std::move(holding);
        first = false;
        if (candidates.empty()) break;
    }
    return candidates;
}

// What an indexed filter decides on its first call.
struct IndexedMeaning {
    bool decided = false;
    bool withoutIndex = false;   // the file has none: every row is read
    std::vector<bool> matching;  // by record number
};

void findWithIndex(Query& query, const std::vector<std::string>& keywords, int meaningRange,
                   IndexedMeaning& result) {
    Connection& connection = query.connection();
    MeaningIndexReader index(connection.handle(), connection.selectedFile());
    if (!index.present()) {
        result.withoutIndex = true;
        return;
    }
    const auto mark = [&](std::int32_t id) {
        if (result.matching.size() <= static_cast<std::size_t>(id)) result.matching.resize(id + 1);
        result.matching[id] = true;
    };
    for (const std::string& keyword : keywords) {
        if (keyword.empty()) continue;
        const std::vector<std::int32_t> candidates =
            candidatesFor(index, keyword, meaningRange >= 2);
        const bool oneCharacter =
            distinctWideCharacters(keyword) == std::vector<std::string_view>{keyword};
        for (const std::int32_t id : candidates) {
            if (oneCharacter) {
                mark(id);
                continue;
            }
            query.lookUp(id);
            if (query.hasRow() && explanationsHold(query, keyword, meaningRange)) mark(id);
        }
    }
}

}  // namespace

MeaningFilter makeMeaningFilter(Query& query, const std::vector<std::string>& gbkKeywords,
                                int meaningRange, MeaningLookup lookup) {
    std::optional<std::vector<std::string>> utf8Keywords = keywordsAsUtf8(gbkKeywords);
    if (!utf8Keywords) {
        // A keyword that is not valid GBK has no UTF-8 form to search for;
        // fall back to the byte-exact GBK search on converted rows.
        return [&query, keywords = gbkKeywords, meaningRange](std::int32_t id) {
            query.lookUp(id);
            if (!query.hasRow()) return false;
            const std::string jijie = query.text(xhzd_table::kJijie);
            const std::string xiangjie =
                meaningRange >= 2 ? query.text(xhzd_table::kXiangjie) : std::string();
            return anyKeywordOccurs(keywords, jijie, xiangjie, meaningRange);
        };
    }
    MeaningFilter everyRow = rowByRowFilter(query, *utf8Keywords, meaningRange);
    // English and mixed keywords would match most of the rows of a letter.
    if (lookup == MeaningLookup::EveryRow || meaningRange < 1 ||
        !holdsOnlyWideCharacters(*utf8Keywords))
        return everyRow;
    auto indexed = std::make_shared<IndexedMeaning>();
    return [&query, indexed, keywords = std::move(*utf8Keywords), meaningRange,
            everyRow = std::move(everyRow)](std::int32_t id) {
        if (!indexed->decided) {
            findWithIndex(query, keywords, meaningRange, *indexed);
            indexed->decided = true;
        }
        if (indexed->withoutIndex) return everyRow(id);
        return static_cast<std::size_t>(id) < indexed->matching.size() &&
               indexed->matching[static_cast<std::size_t>(id)];
    };
}

ToneFilter makeToneFilter(Query& query, PinyinSpelling wanted) {
    return [&query, wanted = std::move(wanted)](std::int32_t id) {
        query.lookUp(id);
        return query.hasRow() && tonedReadingsMatch(query.text(xhzd_table::kPinyin), wanted);
    };
}

}  // namespace lexomir
