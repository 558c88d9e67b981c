#include <set>
#include <sstream>

#include "chengyu_builder.h"
#include "gbk_codec.h"
#include "gbk_text.h"
#include "index_record_format.h"

namespace lexomir::chengyu {
namespace {

// How many broken rows a failed build lists before it stops.
constexpr std::size_t kReportedProblems = 10;

// The idiom's GBK bytes, or the rule it breaks.
std::string checkIdiomText(const std::string& idiom, std::string& gbk) {
    if (idiom.empty()) return "empty idiom";
    try {
        gbk = utf8ToGbk(idiom);
    } catch (const TextConversionError& error) {
        return std::string("idiom not convertible to GBK: ") + error.what();
    }
    if (gbk.size() % 2 != 0) return "idiom holds single-byte characters";
    for (std::size_t i = 0; i < gbk.size(); i += 2) {
        if (!isGbkTwoByteCharacter(std::string_view(gbk).substr(i, 2)))
            return "idiom holds a character outside GBK's two-byte area";
    }
    if (gbk.size() > chengyu_record::kMaxTextBytes) {
        return "idiom is " + std::to_string(gbk.size()) + " bytes in GBK, at most " +
               std::to_string(chengyu_record::kMaxTextBytes) + " fit a record";
    }
    return {};
}

std::string checkPinyin(const IdiomRow& row) {
    if (row.pinYin.empty()) return "empty pinyin";
    try {
        const PinyinKey key = pinyinKey(row.pinYin);
        const std::size_t characters = chineseCharacterCount(row.chengYu);
        if (key.syllables.size() != characters) {
            return "pinyin has " + std::to_string(key.syllables.size()) + " syllables for " +
                   std::to_string(characters) + " characters";
        }
    } catch (const BuildError& error) {
        return error.what();
    }
    return {};
}

std::string checkOtherFields(const IdiomRow& row) {
    if (row.dianGu.empty()) return "empty DianGu";
    const std::pair<const char*, const std::string*> fields[] = {
        {"DianGu", &row.dianGu}, {"ChuChu", &row.chuChu}, {"LiZi", &row.liZi}};
    for (const auto& [name, text] : fields) {
        try {
            utf8ToGbk(*text);
        } catch (const TextConversionError& error) {
            return std::string(name) + " is not valid UTF-8: " + error.what();
        }
    }
    return {};
}

}  // namespace

ValidatedIdioms validateIdioms(std::vector<IdiomRow> rows, std::int32_t expectedCount) {
    std::vector<std::string> problems;
    std::size_t problemCount = 0;
    const auto report = [&](const std::string& problem) {
        if (problems.size() < kReportedProblems) problems.push_back(problem);
        ++problemCount;
    };

    if (rows.size() != static_cast<std::size_t>(expectedCount)) {
        report(std::to_string(rows.size()) + " idioms, exactly " + std::to_string(expectedCount) +
               " needed");
    }
    std::set<std::string> seen;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const IdiomRow& row = rows[i];
        const std::string where = "row " + std::to_string(i + 1) + " (" + row.chengYu + "): ";
        std::string gbk;
        for (const std::string& problem :
             {checkIdiomText(row.chengYu, gbk), checkPinyin(row), checkOtherFields(row)}) {
            if (!problem.empty()) report(where + problem);
        }
        if (!row.chengYu.empty() && !seen.insert(row.chengYu).second)
            report(where + "idiom appears twice");
    }
    if (problemCount > 0) {
        std::ostringstream message;
        message << "refusing to write the idiom data: " << problemCount << " problem(s)";
        for (const auto& problem : problems) message << "\n  " << problem;
        if (problemCount > problems.size()) message << "\n  ...";
        throw BuildError(message.str());
    }

    sortByPinyin(rows);
    ValidatedIdioms result;
    result.gbkIdioms.reserve(rows.size());
    for (const IdiomRow& row : rows) result.gbkIdioms.push_back(utf8ToGbk(row.chengYu));
    result.rows = std::move(rows);
    return result;
}

}  // namespace lexomir::chengyu
