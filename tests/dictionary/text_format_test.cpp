#include "text_format.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace lexomir {
namespace {

using testing::gbk;

TEST(FormatText, FormatsStringsNumbersAndCharacters) {
    EXPECT_EQ(formatText("%s|%d|%c", gbk("汉字").c_str(), -42, 'x'), gbk("汉字") + "|-42|x");
    EXPECT_EQ(formatText("%d画", 17), "17画");
    EXPECT_EQ(formatText("plain"), "plain");
    EXPECT_EQ(formatText("%s", ""), "");
}

TEST(FormatText, LongOutputIsNotCut) {
    const std::string longValue(10000, 'z');
    const std::string text = formatText("<%s>", longValue.c_str());
    EXPECT_EQ(text, "<" + longValue + ">");
}

}  // namespace
}  // namespace lexomir
