#include "meaning_index.h"

#include <algorithm>
#include <iterator>
#include <unordered_set>
#include <utility>

#include "dictionary_database.h"
#include "dictionary_tables.h"
#include "index_record_format.h"
#include "sqlite_handles.h"

namespace lexomir {

namespace {

constexpr unsigned char kMoreBytes = 0x80;
// LEB128 of a number below 2^31 takes five bytes at most.
constexpr int kMostBytesPerNumber = 5;

bool isContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

void appendNumber(std::string& out, std::uint32_t value) {
    while (value >= kMoreBytes) {
        out.push_back(static_cast<char>((value & 0x7F) | kMoreBytes));
        value >>= 7;
    }
    out.push_back(static_cast<char>(value));
}

void addOnce(std::vector<std::int32_t>& list, std::int32_t id) {
    if (list.empty() || list.back() != id) list.push_back(id);
}

}  // namespace

std::string encodeRecordList(std::span<const std::int32_t> ascending) {
    std::string blob;
    std::int32_t previous = 0;
    for (const std::int32_t id : ascending) {
        appendNumber(blob, static_cast<std::uint32_t>(id - previous));
        previous = id;
    }
    return blob;
}

std::optional<std::vector<std::int32_t>> decodeRecordList(std::string_view blob,
                                                          std::int32_t largest) {
    std::vector<std::int32_t> ids;
    std::int64_t previous = 0;
    std::size_t i = 0;
    while (i < blob.size()) {
        std::uint64_t step = 0;
        int shift = 0;
        unsigned char byte = kMoreBytes;
        for (int n = 0; n < kMostBytesPerNumber && i < blob.size() && (byte & kMoreBytes); ++n) {
            byte = static_cast<unsigned char>(blob[i++]);
            step |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
            shift += 7;
        }
        // A number left open, or a step that does not move forward.
        if ((byte & kMoreBytes) || step == 0) return std::nullopt;
        const std::int64_t id = previous + static_cast<std::int64_t>(step);
        if (id > largest) return std::nullopt;
        ids.push_back(static_cast<std::int32_t>(id));
        previous = id;
    }
    return ids;
}

std::vector<std::string_view> distinctWideCharacters(std::string_view utf8) {
    std::vector<std::string_view> characters;
    std::unordered_set<std::string_view> seen;
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t end = i + 1;
        while (end < utf8.size() && isContinuationByte(utf8[end])) ++end;
        const std::string_view character = utf8.substr(i, end - i);
        if (static_cast<unsigned char>(utf8[i]) >= 0x80 && seen.insert(character).second)
            characters.push_back(character);
        i = end;
    }
    return characters;
}

void MeaningIndexBuilder::addRow(std::int32_t id, std::string_view jijieUtf8,
                                 std::string_view xiangjieUtf8) {
    for (const std::string_view character : distinctWideCharacters(jijieUtf8))
        addOnce(m_lists[std::string(character)].jijie, id);
    for (const std::string_view character : distinctWideCharacters(xiangjieUtf8))
        addOnce(m_lists[std::string(character)].xiangjie, id);
}

std::vector<MeaningIndexBuilder::Entry> MeaningIndexBuilder::entries() const {
    std::vector<Entry> entries;
    entries.reserve(m_lists.size());
    for (const auto& [character, lists] : m_lists)
        entries.push_back(
            {character, encodeRecordList(lists.jijie), encodeRecordList(lists.xiangjie)});
    return entries;
}

MeaningIndexReader::MeaningIndexReader(sqlite3* db, std::filesystem::path file)
    : m_db(db), m_file(std::move(file)) {}

void MeaningIndexReader::fail(int rc) {
    throw DatabaseError(rc, sqlite3_errmsg(m_db), m_file);
}

bool MeaningIndexReader::present() {
    const std::string sql = "select 1 from sqlite_master where type = 'table' and name = '" +
                            std::string(meaning_index_table::kName) + "'";
    sqlite3_stmt* raw = nullptr;
    const int prepared = sqlite3_prepare_v2(m_db, sql.c_str(), -1, &raw, nullptr);
    const SqliteStatement statement(raw);
    if (prepared != SQLITE_OK) fail(prepared);
    const int rc = sqlite3_step(statement.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) fail(rc);
    return rc == SQLITE_ROW;
}

std::vector<std::int32_t> MeaningIndexReader::recordsHolding(std::string_view characterUtf8,
                                                             bool wholeEntry) {
    namespace t = meaning_index_table;
    const std::string sql = "select " + std::string(t::kJijie) + ", " + std::string(t::kXiangjie) +
                            " from " + std::string(t::kName) + " where " +
                            std::string(t::kCharacter) + " = ?";
    sqlite3_stmt* raw = nullptr;
    const int prepared = sqlite3_prepare_v2(m_db, sql.c_str(), -1, &raw, nullptr);
    const SqliteStatement statement(raw);
    if (prepared != SQLITE_OK) fail(prepared);
    if (const int rc = sqlite3_bind_text(statement.get(), 1, characterUtf8.data(),
                                         static_cast<int>(characterUtf8.size()), SQLITE_STATIC);
        rc != SQLITE_OK)
        fail(rc);
    const int rc = sqlite3_step(statement.get());
    if (rc == SQLITE_DONE) return {};
    if (rc != SQLITE_ROW) fail(rc);

    const auto list = [&](int column) {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement.get(), column));
        const std::string_view blob(
            bytes ? bytes : "",
            static_cast<std::size_t>(sqlite3_column_bytes(statement.get(), column)));
        std::optional<std::vector<std::int32_t>> ids =
            decodeRecordList(blob, xinhua_record::kRecordCount);
        if (!ids) {
            throw DatabaseError(SQLITE_CORRUPT, "the meaning index is damaged", m_file);
        }
        return std::move(*ids);
    };
    std::vector<std::int32_t> records = list(0);
    if (!wholeEntry) return records;
    const std::vector<std::int32_t> detailed = list(1);
    std::vector<std::int32_t> both;
    both.reserve(records.size() + detailed.size());
    std::set_union(records.begin(), records.end(), detailed.begin(), detailed.end(),
                   std::back_inserter(both));
    return both;
}

}  // namespace lexomir
