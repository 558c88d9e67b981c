// The meaning index that XinHua.db carries beside xhzd: which records' jijie
// and xiangjie hold each character. The combined search reads the lists of a
// keyword's characters instead of every row, and reads only the rows that
// hold all of them to test a longer keyword.
//
// A list is a blob of the record numbers in ascending order, each written as
// its difference to the one before (the first as itself) in LEB128: seven bits
// a byte, least significant first, the high bit set on every byte but a
// number's last.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lexomir {

std::string encodeRecordList(std::span<const std::int32_t> ascending);
// Nothing when the blob is not such a list, or a number lies outside 1 to
// largest.
std::optional<std::vector<std::int32_t>> decodeRecordList(std::string_view blob,
                                                          std::int32_t largest);

// The characters beyond ASCII of a UTF-8 text, each once, as their bytes, in
// the order they first occur.
std::vector<std::string_view> distinctWideCharacters(std::string_view utf8);

// Collects the lists while the rows are written, in ascending id order.
class MeaningIndexBuilder {
  public:
    struct Entry {
        std::string character;
        std::string jijie;  // encoded record lists
        std::string xiangjie;
    };

    void addRow(std::int32_t id, std::string_view jijieUtf8, std::string_view xiangjieUtf8);
    // Every character's entry, by its UTF-8 bytes.
    std::vector<Entry> entries() const;

  private:
    struct Lists {
        std::vector<std::int32_t> jijie, xiangjie;
    };
    std::map<std::string, Lists, std::less<>> m_lists;
};

// Reads the index of an open character database; throws DatabaseError.
class MeaningIndexReader {
  public:
    MeaningIndexReader(sqlite3* db, std::filesystem::path file);

    // Whether the file holds the index at all (an older file does not).
    bool present();
    // The records that hold the character in jijie, and with wholeEntry in
    // xiangjie too, ascending and each once.
    std::vector<std::int32_t> recordsHolding(std::string_view characterUtf8, bool wholeEntry);

  private:
    [[noreturn]] void fail(int rc);

    sqlite3* m_db;
    std::filesystem::path m_file;
};

}  // namespace lexomir
