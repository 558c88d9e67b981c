#include "fixture_files.h"

#include <sqlite3.h>
#include <stdlib.h>

#include <cstring>
#include <fstream>
#include <stdexcept>

#include "gbk_codec.h"
#include "index_record_format.h"
#include "sqlite_handles.h"

namespace lexomir::testing {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lexomir-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

namespace {

SqliteConnection openForWriting(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open(file.c_str(), &db);
    SqliteConnection handle(db);
    if (rc != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db));
    return handle;
}

void check(sqlite3* db, int rc) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(sqlite3_errmsg(db));
}

void exec(sqlite3* db, const std::string& sql) {
    check(db, sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr));
}

SqliteStatement prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    check(db, sqlite3_prepare_v2(db, sql, -1, &statement, nullptr));
    return SqliteStatement(statement);
}

void bindText(sqlite3* db, sqlite3_stmt* statement, int index, const std::string& text) {
    check(db, sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                                SQLITE_TRANSIENT));
}

void bindOptionalText(sqlite3* db, sqlite3_stmt* statement, int index,
                      const std::optional<std::string>& text) {
    if (text) {
        bindText(db, statement, index, *text);
    } else {
        check(db, sqlite3_bind_null(statement, index));
    }
}

void stepOnce(sqlite3* db, sqlite3_stmt* statement) {
    check(db, sqlite3_step(statement));
    check(db, sqlite3_reset(statement));
}

void writeBytes(const std::filesystem::path& file, std::string_view bytes,
                std::ios::openmode mode) {
    std::ofstream out(file, std::ios::binary | mode);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

void putField(std::string& record, std::size_t offset, std::size_t width, std::string_view text) {
    if (text.size() >= width) throw std::invalid_argument("field too long for the record");
    record.replace(offset, text.size(), text);
}

}  // namespace

std::string readFileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFileBytes(const std::filesystem::path& file, std::string_view bytes) {
    writeBytes(file, bytes, std::ios::trunc);
}

void appendFileBytes(const std::filesystem::path& file, std::string_view bytes) {
    writeBytes(file, bytes, std::ios::app);
}

void executeSql(const std::filesystem::path& file, const std::string& sql) {
    SqliteConnection db = openForWriting(file);
    exec(db.get(), sql);
}

void spoilTheRootPageOf(const std::filesystem::path& file, const std::string& table) {
    int rootPage = 0;
    int pageSize = 0;
    {
        SqliteConnection db = openForWriting(file);
        const std::string rootOfTable =
            "select rootpage from sqlite_schema where name = '" + table + "'";
        SqliteStatement root = prepare(db.get(), rootOfTable.c_str());
        if (sqlite3_step(root.get()) == SQLITE_ROW) rootPage = sqlite3_column_int(root.get(), 0);
        SqliteStatement size = prepare(db.get(), "pragma page_size");
        if (sqlite3_step(size.get()) == SQLITE_ROW) pageSize = sqlite3_column_int(size.get(), 0);
    }
    if (rootPage < 2 || pageSize <= 0)
        throw std::runtime_error("no table " + table + " in " + file.string());
    std::string bytes = readFileBytes(file);
    const auto offset = static_cast<std::size_t>(rootPage - 1) * static_cast<std::size_t>(pageSize);
    bytes.replace(offset, static_cast<std::size_t>(pageSize),
                  std::string(static_cast<std::size_t>(pageSize), '\xff'));
    writeFileBytes(file, bytes);
}

void writeXinHuaDatabase(const std::filesystem::path& file, const std::vector<XinHuaRow>& rows) {
    SqliteConnection db = openForWriting(file);
    exec(db.get(),
         "create table xhzd (id integer primary key, zi text, pinyin text, py text, bushou text,"
         " bihua integer, wubi text, jijie text, xiangjie text);"
         "begin;");
    SqliteStatement insert = prepare(db.get(), "insert into xhzd values (?,?,?,?,?,?,?,?,?)");
    for (const XinHuaRow& row : rows) {
        sqlite3_stmt* s = insert.get();
        check(db.get(), sqlite3_bind_int(s, 1, row.id));
        bindText(db.get(), s, 2, row.zi);
        bindText(db.get(), s, 3, row.pinyin);
        bindText(db.get(), s, 4, row.py);
        bindText(db.get(), s, 5, row.bushou);
        if (row.bihua) {
            check(db.get(), sqlite3_bind_int(s, 6, *row.bihua));
        } else {
            check(db.get(), sqlite3_bind_null(s, 6));
        }
        bindText(db.get(), s, 7, row.wubi);
        bindOptionalText(db.get(), s, 8, row.jijie);
        bindOptionalText(db.get(), s, 9, row.xiangjie);
        stepOnce(db.get(), s);
    }
    exec(db.get(), "commit;");
}

void writeChengYuDatabase(const std::filesystem::path& file, const std::vector<ChengYuRow>& rows) {
    SqliteConnection db = openForWriting(file);
    exec(db.get(),
         "create table ChengYu (id integer primary key, ChengYu text, PinYin text, DianGu text,"
         " ChuChu text, LiZi text);"
         "begin;");
    SqliteStatement insert = prepare(db.get(), "insert into ChengYu values (?,?,?,?,?,?)");
    for (const ChengYuRow& row : rows) {
        sqlite3_stmt* s = insert.get();
        check(db.get(), sqlite3_bind_int(s, 1, row.id));
        bindText(db.get(), s, 2, row.ChengYu);
        bindText(db.get(), s, 3, row.PinYin);
        bindText(db.get(), s, 4, row.DianGu);
        bindText(db.get(), s, 5, row.ChuChu);
        bindText(db.get(), s, 6, row.LiZi);
        stepOnce(db.get(), s);
    }
    exec(db.get(), "commit;");
}

std::string xinhuaRecordBytes(const XinHuaIndexRecord& record) {
    namespace f = xinhua_record;
    std::string bytes(f::kSize, '\0');
    putField(bytes, f::kCharacterOffset, f::kCharacterWidth, utf8ToGbk(record.character));
    putField(bytes, f::kPinyinOffset, f::kPinyinWidth, record.pinyin);
    putField(bytes, f::kRadicalOffset, f::kRadicalWidth, utf8ToGbk(record.radical));
    bytes[f::kStrokesOffset] = static_cast<char>(record.strokes);
    return bytes;
}

std::string chengyuRecordBytes(std::string_view idiomUtf8) {
    namespace f = chengyu_record;
    const std::string text = utf8ToGbk(idiomUtf8);
    if (text.size() > f::kMaxTextBytes) throw std::invalid_argument("idiom too long");
    std::string bytes(f::kSize, '\0');
    bytes.replace(0, text.size(), text);
    return bytes;
}

void writeXinHuaIndex(const std::filesystem::path& file,
                      const std::vector<XinHuaIndexRecord>& records, std::int32_t recordCount) {
    if (records.size() > static_cast<std::size_t>(recordCount))
        throw std::invalid_argument("more records than the file holds");
    std::string bytes;
    for (const XinHuaIndexRecord& record : records) bytes += xinhuaRecordBytes(record);
    bytes.resize(static_cast<std::size_t>(recordCount) * xinhua_record::kSize, '\0');
    writeFileBytes(file, bytes);
}

void writeChengYuIndex(const std::filesystem::path& file, const std::vector<std::string>& idioms,
                       std::int32_t recordCount) {
    if (idioms.size() > static_cast<std::size_t>(recordCount))
        throw std::invalid_argument("more idioms than the file holds");
    std::string bytes;
    for (const std::string& idiom : idioms) bytes += chengyuRecordBytes(idiom);
    bytes.resize(static_cast<std::size_t>(recordCount) * chengyu_record::kSize, '\0');
    writeFileBytes(file, bytes);
}

}  // namespace lexomir::testing
