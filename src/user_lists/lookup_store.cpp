#include "lookup_store.h"

#include <sqlite3.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <utility>

#include "gbk_codec.h"

namespace lexomir {
namespace {

constexpr int kSchemaVersion = 1;

constexpr const char* kCreateSchema = R"(
create table history (
  id integer primary key,
  kind text not null,
  record integer not null,
  text text not null,
  reading text not null,
  brief text not null);
create table words (
  id integer primary key,
  kind text not null,
  record integer not null,
  text text not null,
  reading text not null,
  brief text not null,
  unique (kind, text));
pragma user_version = 1;
)";

constexpr std::string_view kColumns = "kind, record, text, reading, brief";

// A failure inside the store; turned into an error value at its edge.
struct StoreFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// SQLite's message, with the system's reason where a file operation failed
// ("unable to open database file: Permission denied").
[[noreturn]] void failWith(sqlite3* db) {
    if (db == nullptr) throw StoreFailure("out of memory");
    std::string message = sqlite3_errmsg(db);
    const int primary = sqlite3_extended_errcode(db) & 0xff;
    if ((primary == SQLITE_CANTOPEN || primary == SQLITE_IOERR) && sqlite3_system_errno(db) != 0)
        message += std::string(": ") + std::strerror(sqlite3_system_errno(db));
    throw StoreFailure(message);
}

void execute(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) failWith(db);
}

std::string_view kindName(EntryKind kind) {
    return kind == EntryKind::Character ? "character" : "idiom";
}

std::optional<EntryKind> kindNamed(std::string_view name) {
    if (name == "character") return EntryKind::Character;
    if (name == "idiom") return EntryKind::Idiom;
    return std::nullopt;
}

class Statement {
  public:
    Statement(sqlite3* db, std::string_view sql) : m_db(db) {
        sqlite3_stmt* raw = nullptr;
        const int rc =
            sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, nullptr);
        m_statement.reset(raw);
        if (rc != SQLITE_OK) failWith(db);
    }

    Statement& bind(int column, std::string_view utf8) {
        check(sqlite3_bind_text(m_statement.get(), column, utf8.data(),
                                static_cast<int>(utf8.size()), SQLITE_TRANSIENT));
        return *this;
    }
    Statement& bind(int column, std::int64_t value) {
        check(sqlite3_bind_int64(m_statement.get(), column, value));
        return *this;
    }
    // Binds kind and text from column on, GBK text converted.
    Statement& bindKey(int column, const LookedUpEntry& entry) {
        return bind(column, kindName(entry.kind)).bind(column + 1, gbkToUtf8(entry.text));
    }
    // Binds kind, record, text, reading and brief from column on.
    Statement& bindEntry(int column, const LookedUpEntry& entry) {
        return bind(column, kindName(entry.kind))
            .bind(column + 1, std::int64_t{entry.record})
            .bind(column + 2, gbkToUtf8(entry.text))
            .bind(column + 3, gbkToUtf8(entry.reading))
            .bind(column + 4, gbkToUtf8(entry.brief));
    }

    // True while there is a row to read.
    bool step() {
        const int rc = sqlite3_step(m_statement.get());
        if (rc == SQLITE_ROW) return true;
        if (rc != SQLITE_DONE) failWith(m_db);
        return false;
    }
    std::int64_t integer(int column) const {
        return sqlite3_column_int64(m_statement.get(), column);
    }
    std::string_view utf8(int column) const {
        const auto* text =
            reinterpret_cast<const char*>(sqlite3_column_text(m_statement.get(), column));
        return text ? std::string_view(text, sqlite3_column_bytes(m_statement.get(), column))
                    : std::string_view();
    }
    // The row as an entry, from columns kind, record, text, reading, brief;
    // nothing for a kind this program does not know.
    std::optional<LookedUpEntry> entry() const {
        const std::optional<EntryKind> kind = kindNamed(utf8(0));
        if (!kind) return std::nullopt;
        return LookedUpEntry{*kind, static_cast<std::int32_t>(integer(1)), utf8ToGbk(utf8(2)),
                             utf8ToGbk(utf8(3)), utf8ToGbk(utf8(4))};
    }

  private:
    void check(int rc) {
        if (rc != SQLITE_OK) failWith(m_db);
    }

    sqlite3* m_db;
    SqliteStatement m_statement;
};

// BEGIN IMMEDIATE takes the write lock at once, so that a busy file fails
// before anything is read; a change not committed is rolled back.
class Transaction {
  public:
    explicit Transaction(sqlite3* db) : m_db(db) { execute(db, "begin immediate"); }
    ~Transaction() {
        if (!m_done) sqlite3_exec(m_db, "rollback", nullptr, nullptr, nullptr);
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit() {
        execute(m_db, "commit");
        m_done = true;
    }

  private:
    sqlite3* m_db;
    bool m_done = false;
};

int schemaVersion(sqlite3* db) {
    Statement version(db, "pragma user_version");
    return version.step() ? static_cast<int>(version.integer(0)) : 0;
}

bool hasNoTables(sqlite3* db) {
    Statement count(db, "select count(*) from sqlite_master");
    return count.step() && count.integer(0) == 0;
}

// A damaged page is found now rather than half-way through a change. The
// file holds a few hundred short rows, so the check costs little.
void checkIntegrity(sqlite3* db) {
    Statement check(db, "pragma quick_check(1)");
    if (!check.step() || check.utf8(0) != "ok")
        throw StoreFailure("database disk image is malformed");
}

// Both tables with every column this program reads.
void checkColumns(sqlite3* db) {
    for (const char* table : {"history", "words"}) {
        const Statement select(
            db, "select id, " + std::string(kColumns) + " from " + table + " limit 0");
    }
}

std::vector<LookedUpEntry> readEntries(sqlite3* db, const std::string& sql) {
    std::vector<LookedUpEntry> entries;
    Statement select(db, sql);
    while (select.step()) {
        if (std::optional<LookedUpEntry> entry = select.entry()) entries.push_back(*entry);
    }
    return entries;
}

}  // namespace

std::string StoreError::describe() const {
    return reason + " (" + file.string() + ")";
}

LookupStore::LookupStore(std::filesystem::path file, StoreAccess access) noexcept
    : m_file(std::move(file)), m_access(access) {
    if (attempt([this] { open(); })) return;
    m_db.reset();
    if (m_access == StoreAccess::ReadWrite) openInMemory();
}

void LookupStore::open() {
    std::error_code error;
    if (m_access == StoreAccess::ReadOnly && !std::filesystem::exists(m_file, error)) return;
    const int flags = m_access == StoreAccess::ReadOnly
                          ? SQLITE_OPEN_READONLY
                          : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(m_file.c_str(), &raw, flags, nullptr);
    m_db.reset(raw);
    if (rc != SQLITE_OK) failWith(raw);
    sqlite3_busy_timeout(raw, kBusyMilliseconds);

    int version = schemaVersion(raw);
    if (version == 0 && hasNoTables(raw)) {
        if (m_access == StoreAccess::ReadOnly) {
            m_db.reset();  // an empty file: nothing looked up yet
            return;
        }
        Transaction transaction(raw);
        // Another window may have made the tables while this one waited.
        if (schemaVersion(raw) == 0 && hasNoTables(raw)) execute(raw, kCreateSchema);
        transaction.commit();
        version = schemaVersion(raw);
    }
    if (version > kSchemaVersion) throw StoreFailure("made by a newer Lexomir");
    if (version != kSchemaVersion) throw StoreFailure("not a Lexomir lookups file");
    checkColumns(raw);
    checkIntegrity(raw);
}

void LookupStore::openInMemory() noexcept {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE, nullptr);
    m_db.reset(raw);
    m_inMemory =
        raw != nullptr && sqlite3_exec(raw, kCreateSchema, nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!m_inMemory) m_db.reset();
}

template <typename Body>
bool LookupStore::attempt(Body&& body) noexcept {
    try {
        body();
        return true;
    } catch (const StoreFailure& failure) {
        keepError(failure.what());
    } catch (const TextConversionError&) {
        keepError("text that GBK cannot hold");
    } catch (const std::exception& failure) {
        keepError(failure.what());
    }
    return false;
}

void LookupStore::keepError(std::string reason) noexcept {
    if (m_error || m_errorTold) return;
    try {
        m_error = StoreError{m_file, std::move(reason)};
    } catch (...) {
        // Out of memory: the failure goes untold rather than stopping anything.
    }
}

std::optional<StoreError> LookupStore::takeError() noexcept {
    if (!m_error) return std::nullopt;
    m_errorTold = true;
    return std::exchange(m_error, std::nullopt);
}

void LookupStore::recordShown(const LookedUpEntry& entry) noexcept {
    if (!m_db) return;
    attempt([&] {
        sqlite3* db = m_db.get();
        Transaction transaction(db);
        const std::vector<LookedUpEntry> newest = readEntries(
            db, "select " + std::string(kColumns) + " from history order by id desc limit 1");
        if (!newest.empty() && isSameEntry(newest.front(), entry)) return;
        Statement(db, "insert into history (" + std::string(kColumns) + ") values (?, ?, ?, ?, ?)")
            .bindEntry(1, entry)
            .step();
        Statement(db,
                  "delete from history where id <= "
                  "(select id from history order by id desc limit 1 offset ?)")
            .bind(1, static_cast<std::int64_t>(kHistoryLimit))
            .step();
        transaction.commit();
    });
}

std::vector<LookedUpEntry> LookupStore::history() noexcept {
    std::vector<LookedUpEntry> entries;
    if (m_db) {
        attempt([&] {
            entries = readEntries(m_db.get(), "select " + std::string(kColumns) +
                                                  " from history order by id desc limit " +
                                                  std::to_string(kHistoryLimit));
        });
    }
    return entries;
}

bool LookupStore::containsWord(const LookedUpEntry& entry) noexcept {
    bool listed = false;
    if (m_db) {
        attempt([&] {
            Statement select(m_db.get(), "select 1 from words where kind = ? and text = ?");
            listed = select.bindKey(1, entry).step();
        });
    }
    return listed;
}

void LookupStore::addWord(const LookedUpEntry& entry) noexcept {
    if (!containsWord(entry)) toggleWord(entry);
}

void LookupStore::removeWord(const LookedUpEntry& entry) noexcept {
    if (containsWord(entry)) toggleWord(entry);
}

std::optional<bool> LookupStore::toggleWord(const LookedUpEntry& entry) noexcept {
    std::optional<bool> listed;
    if (!m_db) return listed;
    attempt([&] {
        sqlite3* db = m_db.get();
        Transaction transaction(db);
        const bool wasListed = Statement(db, "select 1 from words where kind = ? and text = ?")
                                   .bindKey(1, entry)
                                   .step();
        if (wasListed) {
            Statement(db, "delete from words where kind = ? and text = ?").bindKey(1, entry).step();
        } else {
            Statement(db,
                      "insert into words (" + std::string(kColumns) + ") values (?, ?, ?, ?, ?)")
                .bindEntry(1, entry)
                .step();
        }
        transaction.commit();
        listed = !wasListed;
    });
    return listed;
}

std::vector<LookedUpEntry> LookupStore::words() noexcept {
    std::vector<LookedUpEntry> entries;
    if (m_db) {
        attempt([&] {
            entries = readEntries(m_db.get(),
                                  "select " + std::string(kColumns) + " from words order by id");
        });
    }
    return entries;
}

}  // namespace lexomir
