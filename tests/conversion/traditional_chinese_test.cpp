#include "traditional_chinese.h"

#include <gtest/gtest.h>

#include "data_folder.h"
#include "fixture_files.h"
#include "gbk_codec.h"
#include "index_record_format.h"

namespace lexomir {
namespace {

TEST(SimplifyForIdiomIndex, AsksOpenCcOnlyForWhatTheIndexLacksAndNamesAMissingConfiguration) {
    testing::TempFolder data;
    testing::writeChengYuIndex(data / std::string(kChengYuIndexFile), {"百战不殆"},
                               chengyu_record::kRecordCount);
    IndexFile index = openChengYuIndex(data.path());
    IndexFile missingIndex = openChengYuIndex(data / "missing");
    TraditionalToSimplified unavailable("/nonexistent/opencc/t2s.json");
    // Nothing to convert, or an index the search itself reports: OpenCC is not asked.
    EXPECT_EQ(simplifyForIdiomIndex(utf8ToGbk("百战不＝"), index, unavailable),
              utf8ToGbk("百战不＝"));
    EXPECT_EQ(simplifyForIdiomIndex(utf8ToGbk("百戰"), missingIndex, unavailable),
              utf8ToGbk("百戰"));
    try {
        simplifyForIdiomIndex(utf8ToGbk("百戰"), index, unavailable);
        ADD_FAILURE() << "no error";
    } catch (const ScriptConversionError& error) {
        EXPECT_NE(std::string(error.what()).find("/nonexistent/opencc/t2s.json"), std::string::npos)
            << error.what();
        EXPECT_EQ(error.configFile(), "/nonexistent/opencc/t2s.json");
        EXPECT_NE(error.reason().find("/nonexistent/opencc/t2s.json"), std::string::npos);
    }
}

}  // namespace
}  // namespace lexomir
