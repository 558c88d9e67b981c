#include "traditional_chinese.h"

#include <gtest/gtest.h>

#include "data_folder.h"
#include "fixture_files.h"
#include "gbk_codec.h"
#include "index_record_format.h"

namespace lexomir {
namespace {

using testing::TempFolder;

std::string simplifiedForIndex(std::string_view utf8, IndexFile& index,
                               TraditionalToSimplified& converter) {
    return gbkToUtf8(simplifyForIdiomIndex(utf8ToGbk(utf8), index, converter));
}

TEST(TraditionalToSimplified, ConvertsWithDebiansConfiguration) {
    TraditionalToSimplified converter;
    EXPECT_EQ(gbkToUtf8(converter.convert(utf8ToGbk("百戰不＝"))), "百战不＝");
    // Alone, a valid simplified 乾 is turned into 干: what the index guards against.
    EXPECT_EQ(gbkToUtf8(converter.convert(utf8ToGbk("旋乾转坤"))), "旋干转坤");
}

TEST(TraditionalToSimplified, AMissingConfigurationIsAnErrorNamingItAtFirstUse) {
    TraditionalToSimplified converter("/nonexistent/opencc/t2s.json");
    try {
        converter.convert(utf8ToGbk("戰"));
        FAIL() << "no error";
    } catch (const ScriptConversionError& error) {
        EXPECT_NE(std::string(error.what()).find("/nonexistent/opencc/t2s.json"), std::string::npos)
            << error.what();
    }
}

TEST(SimplifyForIdiomIndex, ConvertsOnlyCharactersNoIdiomHolds) {
    TempFolder data;
    testing::writeChengYuIndex(data / std::string(kChengYuIndexFile), {"百战不殆", "旋乾转坤"},
                               chengyu_record::kRecordCount);
    IndexFile index = openChengYuIndex(data.path());
    TraditionalToSimplified converter;
    EXPECT_EQ(simplifiedForIndex("百戰不＝", index, converter), "百战不＝");
    EXPECT_EQ(simplifiedForIndex("旋乾轉坤", index, converter), "旋乾转坤");

    // An unreadable index leaves the text to the search, which reports the
    // file; the missing configuration is not even looked for.
    IndexFile missing = openChengYuIndex(data / "missing");
    TraditionalToSimplified unavailable("/nonexistent/opencc/t2s.json");
    EXPECT_EQ(simplifiedForIndex("百戰", missing, unavailable), "百戰");
}

}  // namespace
}  // namespace lexomir
