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
// jijie, xiangjie (lines joined with "<br>"), bishun (stroke names joined by
// "、", or empty); and table meaning_index, for each character beyond ASCII
// in jijie or xiangjie, the lists of the records that hold it
// (src/database/meaning_index.h). The file is written in one
// transaction with a fixed page size and vacuumed, so equal input gives equal
// bytes.
#include "xinhua_files.h"

#include <cstring>
#include <string>

#include "dictionary_tables.h"
#include "gbk_text.h"
#include "meaning_index.h"
#include "radical_table.h"

namespace lexomir::xinhua {
namespace {

namespace fs = std::filesystem;
namespace layout = xinhua_record;

void putField(XinHuaRecordBytes& record, std::size_t offset, std::size_t width,
              const std::string& text, const char* name, const XinHuaEntry& entry) {
    if (text.empty() || text.size() >= width || text.find('\0') != std::string::npos) {
        throw BuildError("record for " + entry.zi + ": " + name + " needs 1.." +
                         std::to_string(width - 1) + " bytes, has " + std::to_string(text.size()));
    }
    std::memcpy(record.data() + offset, text.data(), text.size());
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

}  // namespace

XinHuaRecordBytes encodeRecord(const XinHuaEntry& entry) {
    XinHuaRecordBytes record{};
    putField(record, layout::kCharacterOffset, layout::kCharacterWidth, entry.ziGbk, "character",
             entry);
    putField(record, layout::kPinyinOffset, layout::kPinyinWidth, entry.pinyinGbk, "pinyin", entry);
    putField(record, layout::kRadicalOffset, layout::kRadicalWidth, entry.radicalGbk, "radical",
             entry);
    if (!isGbkTwoByteCharacter(entry.ziGbk) || !isGbkTwoByteCharacter(entry.radicalGbk)) {
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
    std::string bytes;
    bytes.reserve(entries.size() * layout::kSize);
    for (const XinHuaEntry& entry : entries) {
        const XinHuaRecordBytes record = encodeRecord(entry);
        bytes.append(record.data(), record.size());
    }
    data::writeFileReplacing(file, bytes);
}

void writeXinHuaDb(const std::vector<XinHuaEntry>& entries, const fs::path& file) {
    namespace t = xhzd_table;
    constexpr data::ColumnDefinition kColumns[] = {
        {t::kId, "INTEGER PRIMARY KEY"}, {t::kZi, "TEXT NOT NULL"},
        {t::kPinyin, "TEXT NOT NULL"},   {t::kPy, "TEXT NOT NULL"},
        {t::kBushou, "TEXT NOT NULL"},   {t::kBihua, "INTEGER NOT NULL"},
        {t::kWubi, "TEXT NOT NULL"},     {t::kJijie, "TEXT NOT NULL"},
        {t::kXiangjie, "TEXT NOT NULL"}, {t::kBishun, "TEXT NOT NULL"},
    };
    namespace m = meaning_index_table;
    constexpr data::ColumnDefinition kIndexColumns[] = {
        {m::kCharacter, "TEXT PRIMARY KEY"},
        {m::kJijie, "BLOB NOT NULL"},
        {m::kXiangjie, "BLOB NOT NULL"},
    };
    MeaningIndexBuilder meaningIndex;
    for (std::size_t i = 0; i < entries.size(); ++i)
        meaningIndex.addRow(static_cast<std::int32_t>(i + 1), entries[i].jijie,
                            entries[i].xiangjie);
    const std::vector<MeaningIndexBuilder::Entry> indexEntries = meaningIndex.entries();

    const data::TableContent tables[] = {
        {t::kName, kColumns, entries.size(),
         [&](data::RowBinder& row, std::size_t i) {
             const XinHuaEntry& entry = entries[i];
             row.integer(1, static_cast<std::int64_t>(i + 1));
             row.text(2, entry.zi);
             row.text(3, entry.pinyin);
             row.text(4, entry.py);
             row.text(5, entry.bushou);
             row.integer(6, entry.bihua);
             row.text(7, entry.wubi);
             row.text(8, entry.jijie);
             row.text(9, entry.xiangjie);
             row.text(10, entry.bishun);
         }},
        {m::kName, kIndexColumns, indexEntries.size(),
         [&](data::RowBinder& row, std::size_t i) {
             row.text(1, indexEntries[i].character);
             row.blob(2, indexEntries[i].jijie);
             row.blob(3, indexEntries[i].xiangjie);
         }},
    };
    data::writeDatabaseReplacing(file, tables);
}

}  // namespace lexomir::xinhua
