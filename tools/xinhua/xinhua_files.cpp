// XinHua.dat, the character index file: fixed-size records, no header, no
// trailer; record k (from 1) starts at byte (k - 1) * 57 and is row id = k of
// table xhzd in XinHua.db. All text is GBK; every text field ends in a NUL
// inside its own width and every byte after that NUL is zero.
//
//   offset size field      bytes
//   0      3    character  one GBK character (lead byte 0x81..0xFE), then NUL
//   3      20   pinyin     toneless readings in ASCII a-z, ü written v, main
//                          reading first, comma-separated; at most 19 bytes,
//                          then NUL and zero padding
//   23     3    radical    one GBK radical of the radical table, then NUL
//   26     1    strokes    total strokes, unsigned 8-bit (1..255)
//   27     30   tail       zeros
//
// XinHua.db, table xhzd: id INTEGER PRIMARY KEY (the record number) and the
// UTF-8 columns zi, pinyin (tone-marked, same readings and order as the
// record), py (the record's pinyin field), bushou, bihua (INTEGER), wubi,
// jijie, xiangjie (lines joined with "<br>"). The file is written in one
// transaction with a fixed page size and vacuumed, so equal input gives equal
// bytes.
#include "xinhua_files.h"

#include <sqlite3.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "radical_table.h"

namespace lexomir::xinhua {
namespace {

namespace fs = std::filesystem;
namespace layout = xinhua_record;

constexpr int kPageSize = 4096;

void putField(XinHuaRecordBytes& record, std::size_t offset, std::size_t width,
              const std::string& text, const char* name, const XinHuaEntry& entry) {
    if (text.empty() || text.size() >= width || text.find('\0') != std::string::npos) {
        throw BuildError("record for " + entry.zi + ": " + name + " needs 1.." +
                         std::to_string(width - 1) + " bytes, has " + std::to_string(text.size()));
    }
    std::memcpy(record.data() + offset, text.data(), text.size());
}

bool isTwoByteCharacter(const std::string& gbk) {
    return gbk.size() == 2 && static_cast<unsigned char>(gbk[0]) >= 0x81 && gbk[1] != '\0';
}

bool isReadingList(const std::string& text) {
    bool afterLetter = false;
    for (const char c : text) {
        if (c >= 'a' && c <= 'z') {
            afterLetter = true;
        } else if (c == ',' && afterLetter) {
            afterLetter = false;
        } else {
            return false;
        }
    }
    return afterLetter;
}

fs::path temporaryBeside(const fs::path& file) {
    fs::path temporary = file;
    temporary += ".tmp";
    return temporary;
}

void replaceFile(const fs::path& temporary, const fs::path& file) {
    std::error_code error;
    fs::rename(temporary, file, error);
    if (error) {
        fs::remove(temporary, error);
        throw BuildError("cannot move " + temporary.string() + " to " + file.string());
    }
}

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

void check(sqlite3* db, int code, const std::string& what) {
    if (code != SQLITE_OK && code != SQLITE_DONE && code != SQLITE_ROW) {
        throw BuildError("SQLite, " + what + ": " + sqlite3_errmsg(db));
    }
}

void execute(sqlite3* db, const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : sqlite3_errmsg(db);
        sqlite3_free(message);
        throw BuildError(std::string("SQLite, ") + sql + ": " + text);
    }
}

void bindText(sqlite3* db, sqlite3_stmt* statement, int index, const std::string& text) {
    check(db,
          sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                            SQLITE_STATIC),
          "bind");
}

void fillDatabase(sqlite3* db, const std::vector<XinHuaEntry>& entries) {
    execute(db, ("PRAGMA page_size=" + std::to_string(kPageSize)).c_str());
    execute(db, "PRAGMA journal_mode=OFF");
    execute(db, "PRAGMA synchronous=OFF");
    execute(db,
            "CREATE TABLE xhzd (id INTEGER PRIMARY KEY, zi TEXT NOT NULL, pinyin TEXT NOT NULL, "
            "py TEXT NOT NULL, bushou TEXT NOT NULL, bihua INTEGER NOT NULL, wubi TEXT NOT NULL, "
            "jijie TEXT NOT NULL, xiangjie TEXT NOT NULL)");
    execute(db, "BEGIN");
    sqlite3_stmt* raw = nullptr;
    check(db,
          sqlite3_prepare_v2(db,
                             "INSERT INTO xhzd (id, zi, pinyin, py, bushou, bihua, wubi, jijie, "
                             "xiangjie) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                             -1, &raw, nullptr),
          "prepare insert");
    const Statement insert(raw);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const XinHuaEntry& entry = entries[i];
        check(db, sqlite3_bind_int64(insert.get(), 1, static_cast<sqlite3_int64>(i + 1)), "bind");
        bindText(db, insert.get(), 2, entry.zi);
        bindText(db, insert.get(), 3, entry.pinyin);
        bindText(db, insert.get(), 4, entry.py);
        bindText(db, insert.get(), 5, entry.bushou);
        check(db, sqlite3_bind_int(insert.get(), 6, entry.bihua), "bind");
        bindText(db, insert.get(), 7, entry.wubi);
        bindText(db, insert.get(), 8, entry.jijie);
        bindText(db, insert.get(), 9, entry.xiangjie);
        check(db, sqlite3_step(insert.get()), "insert row " + std::to_string(i + 1));
        check(db, sqlite3_reset(insert.get()), "reset");
    }
    execute(db, "COMMIT");
    execute(db, "VACUUM");
}

}  // namespace

XinHuaRecordBytes encodeRecord(const XinHuaEntry& entry) {
    XinHuaRecordBytes record{};
    putField(record, layout::kCharacterOffset, layout::kCharacterWidth, entry.ziGbk, "character",
             entry);
    putField(record, layout::kPinyinOffset, layout::kPinyinWidth, entry.pinyinGbk, "pinyin", entry);
    putField(record, layout::kRadicalOffset, layout::kRadicalWidth, entry.radicalGbk, "radical",
             entry);
    if (!isTwoByteCharacter(entry.ziGbk) || !isTwoByteCharacter(entry.radicalGbk)) {
        throw BuildError("record for " + entry.zi +
                         ": character and radical must be one 2-byte GBK character each");
    }
    if (!isReadingList(entry.pinyinGbk)) {
        throw BuildError("record for " + entry.zi + ": pinyin \"" + entry.pinyinGbk +
                         "\" is not a-z readings separated by commas");
    }
    if (!BuShouTable().contains(entry.radicalGbk)) {
        throw BuildError("record for " + entry.zi + ": radical " + entry.bushou +
                         " is not in the radical table");
    }
    if (entry.strokes == 0) throw BuildError("record for " + entry.zi + ": stroke count 0");
    record[layout::kStrokesOffset] = static_cast<char>(entry.strokes);
    return record;
}

void writeXinHuaDat(const std::vector<XinHuaEntry>& entries, const fs::path& file) {
    std::vector<XinHuaRecordBytes> records;
    records.reserve(entries.size());
    for (const XinHuaEntry& entry : entries) records.push_back(encodeRecord(entry));

    const fs::path temporary = temporaryBeside(file);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) throw BuildError("cannot create " + temporary.string());
        for (const XinHuaRecordBytes& record : records) out.write(record.data(), record.size());
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            throw BuildError("cannot write " + temporary.string());
        }
    }
    replaceFile(temporary, file);
}

void writeXinHuaDb(const std::vector<XinHuaEntry>& entries, const fs::path& file) {
    const fs::path temporary = temporaryBeside(file);
    std::error_code ignored;
    fs::remove(temporary, ignored);
    try {
        sqlite3* raw = nullptr;
        const int opened = sqlite3_open_v2(temporary.c_str(), &raw,
                                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        const Database db(raw);
        if (opened != SQLITE_OK) {
            throw BuildError("cannot create " + temporary.string() + ": " +
                             (raw ? sqlite3_errmsg(raw) : "out of memory"));
        }
        fillDatabase(db.get(), entries);
    } catch (...) {
        fs::remove(temporary, ignored);
        throw;
    }
    replaceFile(temporary, file);
}

}  // namespace lexomir::xinhua
