// lexomir-build-chengyu: turns the UTF-8 idiom table written by
// extract-idioms.mjs into ChengYu.dat (GBK index records) and ChengYu.db
// (SQLite, UTF-8), refusing any input that breaks a rule of the data set.
#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "data_output.h"

namespace lexomir::chengyu {

using data::BuildError;

// One row of the table, UTF-8, in the columns of table ChengYu.
struct IdiomRow {
    std::string chengYu, pinYin, dianGu, chuChu, liZi;
};

struct IdiomTable {
    // "# name<TAB>value" lines: how the extractor chose the rows.
    std::vector<std::string> notes;
    std::vector<IdiomRow> rows;
};

// Tab-separated, a header line, fields escaped with \\ \t \n \r.
IdiomTable readIdiomTable(std::istream& in);
IdiomTable readIdiomTable(const std::filesystem::path& file);

// Toneless syllables (ü written v), then the tone of each (1-4, neutral 5).
struct PinyinKey {
    std::vector<std::string> syllables;
    std::vector<int> tones;
};
// Throws BuildError on anything but lower-case syllables, tone-marked or not,
// separated by single blanks.
PinyinKey pinyinKey(std::string_view pinYin);

// Code points in the CJK ideograph blocks; throws BuildError on bad UTF-8.
std::size_t chineseCharacterCount(std::string_view utf8);

// Record order: by toneless pinyin, then tones, then code points.
void sortByPinyin(std::vector<IdiomRow>& rows);

// The rows after every check, idioms in GBK, in record order.
struct ValidatedIdioms {
    std::vector<IdiomRow> rows;
    std::vector<std::string> gbkIdioms;
};
// Checks: exactly expectedCount rows; idioms distinct, non-empty, GBK
// two-byte characters only, at most chengyu_record::kMaxTextBytes bytes;
// pinyin well formed with one syllable per Chinese character; DianGu
// non-empty; every field valid UTF-8 that GBK (GB18030) can hold.
ValidatedIdioms validateIdioms(std::vector<IdiomRow> rows, std::int32_t expectedCount);

// The records of ChengYu.dat, back to back.
std::string encodeChengYuRecords(const std::vector<std::string>& gbkIdioms);
void writeChengYuDat(const std::filesystem::path& file, const std::vector<std::string>& gbkIdioms);
void writeChengYuDb(const std::filesystem::path& file, const std::vector<IdiomRow>& rows);

}  // namespace lexomir::chengyu
