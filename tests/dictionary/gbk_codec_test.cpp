#include "gbk_codec.h"

#include <gtest/gtest.h>

#include <string>

#include "named_case.h"

namespace lexomir {
namespace {

struct CodecCase : testing::NamedCase {
    std::string utf8;
    std::string gbk;
};

class GbkCodecTest : public ::testing::TestWithParam<CodecCase> {};

TEST_P(GbkCodecTest, ConvertsBothWays) {
    EXPECT_EQ(utf8ToGbk(GetParam().utf8), GetParam().gbk);
    EXPECT_EQ(gbkToUtf8(GetParam().gbk), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GbkCodecTest,
    ::testing::Values(CodecCase{"Empty", "", ""},
                      CodecCase{"AsciiUnchanged", "zhong,chong 1!", "zhong,chong 1!"},
                      CodecCase{"ChineseCharacters", "中国", "\xD6\xD0\xB9\xFA"},
                      CodecCase{"MixedText", "a中1",
                                "a\xD6\xD0"
                                "1"},
                      CodecCase{"BambooRadical", "⺮", "\xFE\x71"},
                      CodecCase{"RadicalWithAsciiSecondByte", "亅", "\x81\x7C"},
                      CodecCase{"Star", "★", "\xA1\xEF"},
                      CodecCase{"FullWidthEquals", "＝", "\xA3\xBD"},
                      CodecCase{"FullWidthColonAndBlank", "：　", "\xA3\xBA\xA1\xA1"},
                      CodecCase{"ToneMarkedPinyin", "zhōng",
                                "zh\xA8\xAD"
                                "ng"},
                      CodecCase{"CharacterOutsideGbk", "😀", "\x94\x39\xFC\x36"},
                      CodecCase{"EmbeddedNulKept", std::string("a\0b", 3), std::string("a\0b", 3)},
                      CodecCase{"LineBreaks", "a\r\nb", "a\r\nb"}),
    testing::CaseName());

TEST(GbkCodec, LongTextRoundTrips) {
    std::string utf8;
    for (int i = 0; i < 5000; ++i) utf8 += "汉字a";
    const std::string gbk = utf8ToGbk(utf8);
    EXPECT_EQ(gbk.size(), 5000u * 5);
    EXPECT_EQ(gbkToUtf8(gbk), utf8);
}

class InvalidUtf8Test : public ::testing::TestWithParam<std::string> {};

TEST_P(InvalidUtf8Test, Throws) {
    EXPECT_THROW(utf8ToGbk(GetParam()), TextConversionError);
}

INSTANTIATE_TEST_SUITE_P(Cases, InvalidUtf8Test,
                         ::testing::Values(std::string("\xFF"), std::string("a\xC3"),
                                           std::string("\xE4\xB8"),
                                           std::string("\x80"
                                                       "abc"),
                                           std::string("\xED\xA0\x80")));

class InvalidGbkTest : public ::testing::TestWithParam<std::string> {};

TEST_P(InvalidGbkTest, Throws) {
    EXPECT_THROW(gbkToUtf8(GetParam()), TextConversionError);
}

// A lone lead byte, a lead byte before an ASCII control byte, and 0xFF.
INSTANTIATE_TEST_SUITE_P(Cases, InvalidGbkTest,
                         ::testing::Values(std::string("\xD6"), std::string("a\xD6"),
                                           std::string("\xD6\x0A"), std::string("\xFF\xFF")));

TEST(GbkCodec, ErrorIsARuntimeErrorWithAMessage) {
    try {
        gbkToUtf8("\xD6");
        FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_STRNE(error.what(), "");
    }
}

}  // namespace
}  // namespace lexomir
