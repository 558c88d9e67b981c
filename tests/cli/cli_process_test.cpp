// The built program itself: arguments, streams and exit status as a shell
// sees them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "cli_fixture.h"

namespace lexomir {
namespace {

using testing::TempFolder;

struct ProcessResult {
    int status = -1;
    std::string out, err;
};

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ProcessResult runCli(const TempFolder& scratch, const std::vector<std::string>& args) {
    std::string command = shellQuoted(LEXOMIR_CLI_PATH);
    for (const std::string& arg : args) command += " " + shellQuoted(arg);
    const std::filesystem::path out = scratch / "stdout", err = scratch / "stderr";
    command += " </dev/null >" + shellQuoted(out.string()) + " 2>" + shellQuoted(err.string());
    const int raw = std::system(command.c_str());
    ProcessResult result;
    if (raw != -1 && WIFEXITED(raw)) result.status = WEXITSTATUS(raw);
    result.out = readFile(out);
    result.err = readFile(err);
    return result;
}

class CliProcessTest : public ::testing::Test {
  protected:
    void SetUp() override { testing::writeCliFixture(data.path()); }
    TempFolder data, scratch;
};

TEST_F(CliProcessTest, AnswersASearchOnStdoutWithStatusZero) {
    const ProcessResult result =
        runCli(scratch, {"--data", data.path().string(), "pinyin", "zhong"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "1\t中\tzhong\n共找到 1 个汉字！\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(CliProcessTest, RefusalGoesToStderrWithStatusTwo) {
    const ProcessResult result = runCli(scratch, {"--data", data.path().string(), "idiom", ""});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "请输入成语，可以用“=”代替不知道的文字。\n");
}

TEST_F(CliProcessTest, UnreadableDataIsStatusOne) {
    const ProcessResult result =
        runCli(scratch, {"--data", (data / "missing").string(), "strokes", "4"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("XinHua.dat"), std::string::npos) << result.err;
}

TEST_F(CliProcessTest, HelpIsStatusZero) {
    const ProcessResult result = runCli(scratch, {"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("Usage: lexomir-cli"), std::string::npos);
}

}  // namespace
}  // namespace lexomir
