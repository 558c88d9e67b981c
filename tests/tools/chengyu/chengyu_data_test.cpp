// Checks of the real ChengYu.dat and ChengYu.db the build made.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <tuple>

#include "chengyu_builder.h"
#include "gbk_codec.h"
#include "index_record_format.h"

namespace lexomir::chengyu {
namespace {

const std::filesystem::path kDataDir = LEXOMIR_TEST_DATA_DIR;

struct Record {
    std::string idiom;  // UTF-8
    std::string pinYin, dianGu, chuChu, liZi;
};

bool startsWithSenseNumber(std::string_view line) {
    std::size_t digits = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
    return digits > 0 && digits < line.size() && line[digits] == '.';
}

class ChengYuData : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::ifstream in(kDataDir / "ChengYu.dat", std::ios::binary);
        ASSERT_TRUE(in) << "cannot open " << (kDataDir / "ChengYu.dat");
        s_dat.assign(std::istreambuf_iterator<char>(in), {});

        sqlite3* raw = nullptr;
        ASSERT_EQ(
            sqlite3_open_v2((kDataDir / "ChengYu.db").c_str(), &raw, SQLITE_OPEN_READONLY, nullptr),
            SQLITE_OK);
        std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(raw, sqlite3_close);
        sqlite3_stmt* statement = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(
                      db.get(),
                      "SELECT id, ChengYu, PinYin, DianGu, ChuChu, LiZi FROM ChengYu ORDER BY id",
                      -1, &statement, nullptr),
                  SQLITE_OK);
        std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> rows(statement,
                                                                        sqlite3_finalize);
        const auto text = [&](int column) {
            const auto* value =
                reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            return value ? std::string(value) : std::string();
        };
        s_records.clear();
        while (sqlite3_step(statement) == SQLITE_ROW) {
            ASSERT_EQ(sqlite3_column_int(statement, 0), static_cast<int>(s_records.size() + 1))
                << "ids not 1..n";
            s_records.push_back({text(1), text(2), text(3), text(4), text(5)});
        }
    }

    static std::string datText(std::size_t index) {
        const std::string record =
            s_dat.substr(index * chengyu_record::kSize, chengyu_record::kSize);
        return record.substr(0, record.find('\0'));
    }

    static inline std::string s_dat;
    static inline std::vector<Record> s_records;
};

TEST_F(ChengYuData, CountsMatchAndIdsAgreeRecordForRecord) {
    ASSERT_EQ(s_dat.size(), chengyu_record::kSize * chengyu_record::kRecordCount);
    ASSERT_EQ(s_records.size(), static_cast<std::size_t>(chengyu_record::kRecordCount));
    std::set<std::string> distinct;
    for (std::size_t i = 0; i < s_records.size(); ++i) {
        const std::string text = datText(i);
        ASSERT_LT(text.size(), chengyu_record::kSize) << "record " << i + 1 << " has no NUL";
        ASSERT_EQ(gbkToUtf8(text), s_records[i].idiom) << "record " << i + 1;
        ASSERT_TRUE(distinct.insert(text).second) << s_records[i].idiom << " twice";
    }
}

TEST_F(ChengYuData, RecordsAreInPinyinOrder) {
    for (std::size_t i = 1; i < s_records.size(); ++i) {
        const PinyinKey a = pinyinKey(s_records[i - 1].pinYin);
        const PinyinKey b = pinyinKey(s_records[i].pinYin);
        ASSERT_TRUE(std::tie(a.syllables, a.tones) <= std::tie(b.syllables, b.tones))
            << s_records[i - 1].idiom << " before " << s_records[i].idiom;
    }
}

TEST_F(ChengYuData, HelpExampleAndCommonIdiomsArePresent) {
    std::set<std::string> idioms;
    for (const auto& r : s_records) idioms.insert(r.idiom);
    // The last row are idioms whose entry only points to a variant, or whose
    // explanation is short, has "‖" or one damaged sentence, or is filed
    // under a traditional spelling (戎马倥傯).
    for (const char* idiom :
         {"百战不殆", "爱不释手", "爱屋及乌", "爱莫能助", "爱憎分明", "爱财如命",
          "爱民如子", "爱才若渴", "爱惜羽毛", "爱国如家", "爱钱如命", "众所周知",
          "息息相关", "议论纷纷", "直言不讳", "眼花缭乱", "捉襟见肘", "惊慌失措",
          "相提并论", "家常便饭", "狐假虎威", "指鹿为马", "为虎作伥", "戎马倥偬"}) {
        EXPECT_TRUE(idioms.contains(idiom)) << idiom;
    }
}

TEST_F(ChengYuData, IdiomsBeginningWithAiReadAi) {
    const std::string ai = utf8ToGbk("爱");
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < s_records.size(); ++i) {
        if (datText(i).starts_with(ai)) positions.push_back(i);
    }
    ASSERT_GE(positions.size(), 10u);
    for (const std::size_t i : positions)
        EXPECT_TRUE(s_records[i].pinYin.starts_with("ài ")) << s_records[i].idiom;
}

TEST_F(ChengYuData, ExplanationsAreCleaned) {
    std::size_t withSource = 0, withExample = 0;
    for (const auto& r : s_records) {
        ASSERT_FALSE(r.dianGu.empty()) << r.idiom;
        for (const char* leftover : {"﹐", "\"", "'", "◇"}) {
            ASSERT_EQ(r.dianGu.find(leftover), std::string::npos)
                << r.idiom << ": " << leftover << " in " << r.dianGu;
        }
        ASSERT_FALSE(startsWithSenseNumber(r.dianGu)) << r.idiom << ": " << r.dianGu;
        for (std::size_t line = r.dianGu.find("\r\n"); line != std::string::npos;
             line = r.dianGu.find("\r\n", line + 2)) {
            ASSERT_FALSE(startsWithSenseNumber(std::string_view(r.dianGu).substr(line + 2)))
                << r.idiom;
        }
        const bool singleLine = r.dianGu.find("\r\n") == std::string::npos;
        ASSERT_FALSE(singleLine && r.dianGu.starts_with("见“") && r.dianGu.ends_with("”。"))
            << r.idiom << " is only a cross-reference";
        if (!r.chuChu.empty()) {
            ++withSource;
            ASSERT_NE(r.chuChu.find("》"), std::string::npos) << r.idiom << ": " << r.chuChu;
            ASSERT_TRUE(r.chuChu.ends_with("》") || r.chuChu.ends_with("”"))
                << r.idiom << ": " << r.chuChu;
        }
        if (!r.liZi.empty()) ++withExample;
    }
    EXPECT_GE(withSource, 850u);
    EXPECT_GE(withExample, 150u);
}

TEST_F(ChengYuData, KnownPolyphonesAreCorrected) {
    const std::pair<const char*, const char*> expected[] = {
        {"朝三暮四", "zhāo sān mù sì"},    {"一暴十寒", "yī pù shí hán"},
        {"数见不鲜", "shuò jiàn bù xiān"}, {"呱呱坠地", "gū gū zhuì dì"},
        {"便宜行事", "biàn yí xíng shì"},  {"一哄而散", "yī hòng ér sàn"},
        {"百战不殆", "bǎi zhàn bù dài"},   {"对簿公堂", "duì bù gōng táng"},
        {"变危为安", "biàn wēi wéi ān"},   {"为虎作伥", "wèi hǔ zuò chāng"}};
    for (const auto& [idiom, pinYin] : expected) {
        const auto found = std::find_if(s_records.begin(), s_records.end(),
                                        [&](const Record& r) { return r.idiom == idiom; });
        ASSERT_NE(found, s_records.end()) << idiom;
        EXPECT_EQ(found->pinYin, pinYin) << idiom;
    }
}

}  // namespace
}  // namespace lexomir::chengyu
