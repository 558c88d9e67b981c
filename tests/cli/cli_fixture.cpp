#include "cli_fixture.h"

#include "data_folder.h"
#include "index_record_format.h"

namespace lexomir::testing {

void writeCliFixture(const std::filesystem::path& folder) {
    writeXinHuaIndex(folder / std::string(kXinHuaIndexFile),
                     {
                         {"中", "zhong", "丨", 4},
                         {"国", "guo", "口", 8},
                         {"河", "he", "氵", 8},
                         {"行", "xing,hang", "彳", 6},
                         {"水", "shui", "水", 4},
                         {"口", "kou", "口", 3},
                     },
                     xinhua_record::kRecordCount);
    writeXinHuaDatabase(folder / std::string(kXinHuaDatabaseFile),
                        {
                            {1, "中", "zhōng", "zhong", "丨", 4, "khk", "middle", "中间<br>中心"},
                            {2, "国", "guó", "guo", "口", 8, "lgyi", "country", "国家"},
                            {3, "河", "hé", "he", "氵", 8, "iskg", "river", "河水"},
                            {4, "行", "xíng,háng", "xing,hang", "彳", 6, "tfhh", "go", "行走"},
                            {5, "水", "shuǐ", "shui", "水", 4, "iiii", "water", "水火"},
                            {6, "口", "kǒu", "kou", "口", 3, "kkkk", "mouth", "火口"},
                        });
    writeChengYuIndex(folder / std::string(kChengYuIndexFile),
                      {"爱不释手", "百战不殆", "爱屋及乌", "不爱红装爱武装"},
                      chengyu_record::kRecordCount);
    writeChengYuDatabase(
        folder / std::string(kChengYuDatabaseFile),
        {
            {1, "爱不释手", "ài bù shì shǒu", "喜爱得舍不得放手。", "", ""},
            {2, "百战不殆", "bǎi zhàn bù dài", "每次打仗都不失败。", "《孙子·谋攻》", ""},
            {3, "爱屋及乌", "ài wū jí wū", "爱一个人而连带爱他屋上的乌鸦。", "", ""},
            {4, "不爱红装爱武装", "bù ài hóng zhuāng ài wǔ zhuāng", "", "", ""},
        });
}

}  // namespace lexomir::testing
