// Runs the lexomir-build-xinhua program itself on a small table.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "index_record_format.h"

namespace {

namespace fs = std::filesystem;

const char* const kFixtureRows[] = {
    "中\tzhōng/zhong/1 zhòng/zhong/4\t4\t丨\tkangxi:丨\t1\t5\tkhk\tcentral\tzhōng：middle\t",
    "丁\tdīng/ding/1 zhēng/zheng/1\t2\t一\tkangxi:一\t2\t4\tsgh\tmale adult\t\t",
    "河\thé/he/2\t8\t氵\tpositional:氵 kangxi:水\t0\t3\tiskg\triver\t常用词：<br>河流（hé "
    "liú）：x\t",
    "罔\twǎng/wang/3\t8\t\tkangxi:网 nearest:罒\t0\t2\tmuyn\tnet\t\t",
    "丂\tkǎo/kao/3\t2\t\tkangxi:一\t0\t1\tgnv\t\t\t",  // the rarest: dropped for 4 records
};

class BuildXinHuaToolTest : public testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                (std::string("lexomir-build-xinhua-") + std::to_string(getpid()) + "-" +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_table = m_dir / "characters.tsv";
        std::ofstream out(m_table);
        for (const char* row : kFixtureRows) out << row << "\n";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    // Exit status of the tool; its output goes to DIR/log.
    int run(const fs::path& table, const fs::path& outDir,
            const std::string& extra = "--records 4") {
        const std::string command = std::string("'") + LEXOMIR_BUILD_XINHUA + "' --input '" +
                                    table.string() + "' --out-dir '" + outDir.string() + "' " +
                                    extra + " > '" + (m_dir / "log").string() + "' 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string log() const { return read(m_dir / "log"); }

    static std::string read(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path m_dir;
    fs::path m_table;
};

TEST_F(BuildXinHuaToolTest, TwoRunsOnTheSameTableGiveTheSameBytes) {
    ASSERT_EQ(run(m_table, m_dir / "first"), 0) << log();
    ASSERT_EQ(run(m_table, m_dir / "second"), 0) << log();
    for (const char* name : {"XinHua.dat", "XinHua.db"}) {
        const std::string first = read(m_dir / "first" / name);
        EXPECT_FALSE(first.empty()) << name;
        EXPECT_EQ(first, read(m_dir / "second" / name)) << name << " differs between runs";
    }
    EXPECT_EQ(read(m_dir / "first" / "XinHua.dat").size(), 4 * lexomir::xinhua_record::kSize);
}

TEST_F(BuildXinHuaToolTest, PrintsTheSummary) {
    ASSERT_EQ(run(m_table, m_dir / "out"), 0) << log();
    const std::string text = log();
    EXPECT_NE(text.find("XinHua: 4 records (5 candidates, 1 rarest dropped, 2 from the 2013 list"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("cnchar-radical 3"), std::string::npos) << text;
    EXPECT_NE(text.find("nearest 1"), std::string::npos) << text;
    EXPECT_NE(text.find("3 of 3 (100.00%)"), std::string::npos) << text;
}

TEST_F(BuildXinHuaToolTest, RefusesABadTableAndWritesNothing) {
    {
        std::ofstream out(m_table, std::ios::app);
        out << "七\tqī/qi/1\t0\t一\tkangxi:一\t0\t9\tag\t\t\t\n";  // no strokes
    }
    EXPECT_EQ(run(m_table, m_dir / "out", "--records 5"), 1);
    EXPECT_NE(log().find("stroke count 0"), std::string::npos) << log();
    EXPECT_FALSE(fs::exists(m_dir / "out" / "XinHua.dat"));
    EXPECT_FALSE(fs::exists(m_dir / "out" / "XinHua.db"));
}

TEST_F(BuildXinHuaToolTest, RefusesAWrongRecordCount) {
    EXPECT_EQ(run(m_table, m_dir / "out", "--records 6"), 1);
    EXPECT_NE(log().find("only 5 candidate characters"), std::string::npos) << log();
}

TEST_F(BuildXinHuaToolTest, MissingInputIsAnError) {
    EXPECT_EQ(run(m_dir / "absent.tsv", m_dir / "out"), 1);
    EXPECT_NE(log().find("cannot open"), std::string::npos) << log();
}

TEST_F(BuildXinHuaToolTest, BadOptionIsAUsageError) {
    EXPECT_EQ(run(m_table, m_dir / "out", "--records many"), 2);
    EXPECT_NE(log().find("usage:"), std::string::npos) << log();
}

}  // namespace
