// Turns the candidate characters into the checked entries of XinHua.dat and
// table xhzd: keeps the right number, orders them, fits the readings into the
// index field and picks each radical from the radical table.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "character_source.h"
#include "index_record_format.h"

namespace lexomir::xinhua {

// One character as both files hold it. GBK fields go into XinHua.dat, UTF-8
// fields into the database.
struct XinHuaEntry {
    std::string ziGbk;       // 2 bytes
    std::string pinyinGbk;   // toneless readings, comma-separated (ASCII)
    std::string radicalGbk;  // 2 bytes
    std::uint8_t strokes = 0;

    std::string zi;
    std::string pinyin;  // tone-marked readings, comma-separated
    std::string py;      // the same readings toneless (equal to pinyinGbk)
    std::string bushou;
    int bihua = 0;
    std::string wubi;
    std::string jijie;
    std::string xiangjie;
    std::string bishun;  // stroke names joined by "、", or empty
};

struct BuildOptions {
    std::int32_t recordCount = xinhua_record::kRecordCount;
    // Below this share of agreement between the kRSUnicode rule and
    // cnchar-radical the build fails; 0 turns the check off.
    double minimumAgreementPercent = 98.5;
};

struct BuildSummary {
    std::size_t candidates = 0;
    std::size_t dropped = 0;
    std::size_t required = 0;
    std::map<std::string, std::size_t> radicalsBySource;
    std::size_t readingsCut = 0;
    std::size_t charactersWithReadingsCut = 0;
    std::size_t modernCovered = 0;  // characters cnchar-radical answers for
    std::size_t kangxiAgrees = 0;   // of those, where the kRSUnicode rule gives the same
    std::vector<std::string> movedToOwnRadical;  // radical forms now filed under themselves
    std::size_t variantLines = 0;                // entries given an 异体字 line
    double agreementPercent() const {
        return modernCovered == 0
                   ? 100.0
                   : 100.0 * static_cast<double>(kangxiAgrees) / static_cast<double>(modernCovered);
    }
};

struct BuildResult {
    std::vector<XinHuaEntry> entries;  // in file order: entry i is record i + 1
    BuildSummary summary;
};

// Fitted readings of one character: what the index field and both reading
// columns hold.
struct FittedReadings {
    std::string field;   // toneless, comma-separated, at most the field's width - 1 bytes
    std::string marked;  // tone-marked readings kept, comma-separated
    std::size_t cut = 0;
};
FittedReadings fitReadings(const std::vector<Reading>& readings);

struct RadicalChoice {
    std::string form;    // UTF-8
    std::string source;  // "cnchar-radical" or the candidate's source
};
// The radical that the kRSUnicode candidates give on their own, or empty.
RadicalChoice kangxiRadical(const CharacterSource& source);
// The character itself where it is a radical form the table holds, else
// cnchar-radical's answer where the table holds it, else kangxiRadical.
RadicalChoice chooseRadical(const CharacterSource& source);

// The 异体字 line for the variants that are among the kept characters, or
// empty.
std::string variantLine(const CharacterSource& source, const std::set<std::string>& kept);

// Throws BuildError when a rule cannot be met.
BuildResult buildXinHua(std::vector<CharacterSource> sources, const BuildOptions& options);

}  // namespace lexomir::xinhua
