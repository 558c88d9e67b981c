// ChengYu.dat, the idiom index file. No header; 13000 records of 35 bytes
// back to back, record r (counted from 1) at byte offset (r - 1) * 35;
// record r is row id = r of table ChengYu in ChengYu.db. Records are in
// pinyin order: toneless syllables (ü as v) compared one by one, then their
// tones (1-4, neutral last), then the idioms' code points.
//
//   byte 0 .. n-1   the idiom in GBK: n/2 two-byte characters (lead byte
//                   0x81-0xFE, trail byte 0x40-0xFE except 0x7F), n <= 34;
//                   no single-byte characters, so a search's 2-byte units
//                   line up with the characters
//   byte n          0x00, the terminator (always present: n <= 34)
//   byte n+1 .. 34  0x00; readers ignore them, the builder writes zeros so
//                   that the file is the same for the same input
//
// The sizes come from chengyu_record in index_record_format.h.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "chengyu_builder.h"
#include "index_record_format.h"

namespace lexomir::chengyu {

std::string encodeChengYuRecords(const std::vector<std::string>& gbkIdioms) {
    std::string bytes(gbkIdioms.size() * chengyu_record::kSize, '\0');
    for (std::size_t i = 0; i < gbkIdioms.size(); ++i) {
        const std::string& idiom = gbkIdioms[i];
        if (idiom.empty() || idiom.size() > chengyu_record::kMaxTextBytes ||
            idiom.find('\0') != std::string::npos) {
            throw BuildError("record " + std::to_string(i + 1) +
                             ": idiom text does not fit a record");
        }
        idiom.copy(bytes.data() + i * chengyu_record::kSize, idiom.size());
    }
    return bytes;
}

void writeChengYuDat(const std::filesystem::path& file, const std::vector<std::string>& gbkIdioms) {
    data::writeFileReplacing(file, encodeChengYuRecords(gbkIdioms));
}

}  // namespace lexomir::chengyu
