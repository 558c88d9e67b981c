#include "chengyu_builder.h"

#include <gtest/gtest.h>

#include <sstream>

#include "gbk_codec.h"
#include "index_record_format.h"

namespace lexomir::chengyu {
namespace {

constexpr const char* kHeader = "ChengYu\tPinYin\tDianGu\tChuChu\tLiZi\n";

IdiomRow row(std::string idiom, std::string pinYin, std::string dianGu = "一个足够长的解释。") {
    return {std::move(idiom), std::move(pinYin), std::move(dianGu), "", ""};
}

std::vector<IdiomRow> threeGoodRows() {
    return {row("百战百胜", "bǎi zhàn bǎi shèng"), row("百战不殆", "bǎi zhàn bù dài"),
            row("爱不释手", "ài bù shì shǒu")};
}

TEST(ReadIdiomTable, KeepsNotesAndUnescapesFields) {
    std::istringstream in(std::string("# usable\t3\n") + kHeader +
                          "百战不殆\tbǎi zhàn bù dài\t甲\\r\\n乙\\t丙\\\\\t《孙子》\t\n");
    const IdiomTable table = readIdiomTable(in);
    ASSERT_EQ(table.notes, std::vector<std::string>{"usable\t3"});
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0].dianGu, "甲\r\n乙\t丙\\");
    EXPECT_EQ(table.rows[0].chuChu, "《孙子》");
    EXPECT_EQ(table.rows[0].liZi, "");
}

struct NamedInput {
    const char* name;
    std::string text;
};

void PrintTo(const NamedInput& input, std::ostream* os) {
    *os << input.name;
}

std::string caseName(const testing::TestParamInfo<NamedInput>& info) {
    return info.param.name;
}

class ReadIdiomTableRefuses : public testing::TestWithParam<NamedInput> {};

TEST_P(ReadIdiomTableRefuses, MalformedInput) {
    std::istringstream in(GetParam().text);
    EXPECT_THROW(readIdiomTable(in), BuildError);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadIdiomTableRefuses,
    testing::Values(NamedInput{"Empty", ""}, NamedInput{"WrongHeader", "ChengYu\tPinYin\n"},
                    NamedInput{"TooFewFields",
                               std::string(kHeader) + "百战不殆\tbǎi zhàn bù dài\t甲\n"},
                    NamedInput{"TooManyFields", std::string(kHeader) + "a\tb\tc\td\te\tf\n"},
                    NamedInput{"UnknownEscape", std::string(kHeader) + "a\tb\t甲\\q\td\te\n"},
                    NamedInput{"LoneBackslash", std::string(kHeader) + "a\tb\t甲\\\td\te\n"}),
    caseName);

TEST(PinyinKey, StripsTonesAndKeepsThemApart) {
    const PinyinKey key = pinyinKey("lǜ zhe ér nǚ");
    EXPECT_EQ(key.syllables, (std::vector<std::string>{"lv", "zhe", "er", "nv"}));
    EXPECT_EQ(key.tones, (std::vector<int>{4, 5, 2, 3}));
}

class PinyinKeyRefuses : public testing::TestWithParam<NamedInput> {};

TEST_P(PinyinKeyRefuses, MalformedPinyin) {
    EXPECT_THROW(pinyinKey(GetParam().text), BuildError);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PinyinKeyRefuses,
    testing::Values(NamedInput{"Empty", ""}, NamedInput{"DoubleBlank", "bǎi  zhàn"},
                    NamedInput{"LeadingBlank", " bǎi"}, NamedInput{"TrailingBlank", "bǎi "},
                    NamedInput{"UpperCase", "Bǎi"}, NamedInput{"ToneNumber", "bai3"},
                    NamedInput{"ChinesePunctuation", "bǎi，zhàn"},
                    NamedInput{"TruncatedUtf8", std::string("b\xC3", 2)}),
    caseName);

TEST(SortByPinyin, TonelessFirstThenTonesThenCodePoints) {
    std::vector<IdiomRow> rows{
        row("乙乙", "ba ba"),  // 4E59: same pinyin as 甲甲 below, later code point
        row("丙丙", "bā bà"),  // tones 1 4
        row("丁丁", "bà ba"),  // tones 4 5
        row("甲甲", "ba ba"),  // 7532
        row("戊戊", "bā ba"),  // tones 1 5
        row("己己", "an bā"),  // toneless "an" before "ba"
        row("庚庚", "bān a"),  // "ban" after "ba" whatever the tones
        row("辛辛", "ba"),     // a prefix sorts first
    };
    sortByPinyin(rows);
    std::vector<std::string> order;
    for (const auto& r : rows) order.push_back(r.chengYu);
    EXPECT_EQ(order, (std::vector<std::string>{"己己", "辛辛", "丙丙", "戊戊", "丁丁", "乙乙",
                                               "甲甲", "庚庚"}));
}

TEST(ValidateIdioms, GoodRowsComeBackInPinyinOrderWithGbk) {
    const ValidatedIdioms result = validateIdioms(threeGoodRows(), 3);
    ASSERT_EQ(result.rows.size(), 3u);
    EXPECT_EQ(result.rows[0].chengYu, "爱不释手");
    EXPECT_EQ(result.rows[1].chengYu, "百战百胜");
    EXPECT_EQ(result.rows[2].chengYu, "百战不殆");
    EXPECT_EQ(result.gbkIdioms[2], "\xB0\xD9\xD5\xBD\xB2\xBB\xB4\xF9");
}

struct BadRow {
    const char* name;
    IdiomRow row;
};

void PrintTo(const BadRow& bad, std::ostream* os) {
    *os << bad.name;
}

class ValidateIdiomsRefuses : public testing::TestWithParam<BadRow> {};

// Each case replaces the second of three good rows; the whole input is refused.
TEST_P(ValidateIdiomsRefuses, OneBadRow) {
    auto rows = threeGoodRows();
    rows[1] = GetParam().row;
    EXPECT_THROW(validateIdioms(rows, 3), BuildError);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ValidateIdiomsRefuses,
    testing::Values(BadRow{"EmptyIdiom", row("", "bǎi")},
                    BadRow{"EmptyPinyin", row("百折不挠", "")},
                    BadRow{"EmptyDianGu", row("百折不挠", "bǎi zhé bù náo", "")},
                    BadRow{"Duplicate", row("爱不释手", "ài bù shì shǒu")},
                    BadRow{"SingleByteCharacter", row("百折不A", "bǎi zhé bù")},
                    BadRow{"OutsideGbk", row("百折\U00020000挠",
                                             "bǎi zhé náo")},  // a GB18030 four-byte character
                    BadRow{"TooManySyllables", row("百折不挠", "bǎi zhé bù náo le")},
                    BadRow{"TooFewSyllables", row("百折不挠", "bǎi zhé bù")},
                    BadRow{"InvalidUtf8InSource",
                           IdiomRow{"百折不挠", "bǎi zhé bù náo", "解释足够长。", "\xFF", ""}}),
    [](const testing::TestParamInfo<BadRow>& info) { return std::string(info.param.name); });

TEST(ValidateIdioms, EighteenCharactersAreTooLongSeventeenFit) {
    std::string seventeen, syllables;
    for (int i = 0; i < 17; ++i) {
        seventeen += "百";
        syllables += i == 0 ? "bǎi" : " bǎi";
    }
    auto rows = threeGoodRows();
    rows[1] = row(seventeen, syllables);
    const auto fits = validateIdioms(rows, 3);
    EXPECT_EQ(fits.rows[1].chengYu, seventeen);  // "bai bai ..." sorts between "ai" and "bai zhan"
    EXPECT_EQ(fits.gbkIdioms[1].size(), chengyu_record::kMaxTextBytes);
    rows[1] = row(seventeen + "百", syllables + " bǎi");
    EXPECT_THROW(validateIdioms(rows, 3), BuildError);
}

TEST(ValidateIdioms, WrongCountIsRefused) {
    EXPECT_THROW(validateIdioms(threeGoodRows(), 4), BuildError);
    EXPECT_THROW(validateIdioms(threeGoodRows(), 2), BuildError);
}

TEST(ValidateIdioms, MessageNamesTheRowAndTheRule) {
    auto rows = threeGoodRows();
    rows[2] = row("爱不释手", "ài bù shì");
    try {
        validateIdioms(rows, 3);
        FAIL() << "no error";
    } catch (const BuildError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("row 3 (爱不释手)"), std::string::npos) << message;
        EXPECT_NE(message.find("3 syllables for 4 characters"), std::string::npos) << message;
    }
}

TEST(EncodeChengYuRecords, FixedRecordsWithNulPadding) {
    const std::string first = utf8ToGbk("百战不殆");
    const std::string second = utf8ToGbk("爱屋及乌");
    const std::string bytes = encodeChengYuRecords({first, second});
    ASSERT_EQ(bytes.size(), 2 * chengyu_record::kSize);
    EXPECT_EQ(bytes.substr(0, first.size()), first);
    EXPECT_EQ(bytes.substr(first.size(), chengyu_record::kSize - first.size()),
              std::string(chengyu_record::kSize - first.size(), '\0'));
    EXPECT_EQ(bytes.substr(chengyu_record::kSize, second.size()), second);
}

TEST(EncodeChengYuRecords, RefusesTextThatLeavesNoRoomForTheNul) {
    EXPECT_THROW(encodeChengYuRecords({std::string(chengyu_record::kSize, '\xB0')}), BuildError);
    EXPECT_THROW(encodeChengYuRecords({std::string()}), BuildError);
}

}  // namespace
}  // namespace lexomir::chengyu
