// lexomir-cli handwriting and the stroke data in show --json.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli_app.h"
#include "cli_fixture.h"
#include "named_case.h"
#include "strokes_builder.h"

namespace lexomir::cli {
namespace {

using lexomir::testing::TempFolder;

struct Result {
    int status;
    std::string out, err;
};

// 口 and 中 of the fixture's characters, drawn in the stroke data's box.
void writeStrokeData(const std::filesystem::path& file) {
    std::istringstream table(
        "#source\ttest data\nzi\tstrokes\toutlines\tmedians\n"
        "中\t4\tM 200 600 L 220 300 Z;M 200 600 L 800 600 L 780 300 Z;M 220 320 L 780 320 Z;"
        "M 500 850 L 500 0 Z\t210,600 210,300;210,600 790,600 790,300;220,320 780,320;"
        "500,850 500,0\n"
        "口\t3\tM 200 700 L 200 200 Z;M 200 700 L 800 700 L 800 200 Z;M 200 200 L 800 200 Z\t"
        "200,700 200,200;200,700 800,700 800,200;200,200 800,200\n");
    strokes::writeStrokesDb(strokes::readStrokeTable(table), file);
}

class CliHandwritingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        lexomir::testing::writeCliFixture(folder.path());
        writeStrokeData(folder / "Strokes.db");
    }
    Result run(const std::vector<std::string>& args, const std::string& input = "") {
        std::istringstream in(input);
        std::ostringstream out, err;
        const int status = runCommandLine(args, folder.path(), in, out, err);
        return {status, out.str(), err.str()};
    }
    TempFolder folder;
};

// 口 written on screen, y down: left side, top and right side, bottom.
const std::string kKou = "[[[20,20],[20,80]],[[20,20],[80,20],[80,80]],[[20,80],[80,80]]]";

struct InputCase : testing::NamedCase {
    std::string input;
    int status;
    std::size_t answeredLines;
    std::string message;  // part of stderr; empty: stderr empty
};

class CliHandwritingInputTest : public CliHandwritingTest,
                                public ::testing::WithParamInterface<InputCase> {};

TEST_P(CliHandwritingInputTest, AnswersEachLineUntilAMalformedOne) {
    const Result result = run({"handwriting"}, GetParam().input);
    EXPECT_EQ(result.status, GetParam().status) << result.err;
    EXPECT_EQ(static_cast<std::size_t>(std::count(result.out.begin(), result.out.end(), '\n')),
              GetParam().answeredLines)
        << result.out;
    if (GetParam().message.empty())
        EXPECT_EQ(result.err, "");
    else
        EXPECT_NE(result.err.find(GetParam().message), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliHandwritingInputTest,
    ::testing::Values(InputCase{"TwoCharacters", kKou + "\n" + kKou + "\n", 0, 2, ""},
                      InputCase{"NoStrokesNoCandidates", "[]\n", 0, 1, ""},
                      InputCase{"SecondLineNotJson", kKou + "\nnot json\n" + kKou + "\n", 2, 1,
                                "input line 2: not JSON"},
                      InputCase{"EmptyLine", "\n", 2, 0, "input line 1"},
                      InputCase{"PointOfOneNumber", "[[[1]]]\n", 2, 0, "[x, y] with two numbers"},
                      InputCase{"PointOfText", "[[[\"1\",2]]]\n", 2, 0, "[x, y] with two numbers"},
                      InputCase{"EmptyStroke", "[[]]\n", 2, 0, "non-empty array"},
                      InputCase{"NotAnArray", "{\"strokes\": 1}\n", 2, 0, "array of strokes"},
                      InputCase{"HugeCoordinate", "[[[1e300,2]]]\n", 2, 0, "out of range"}),
    testing::CaseName());

TEST_F(CliHandwritingTest, CandidatesBestFirstAndTopLimitsThem) {
    const Result all = run({"handwriting"}, kKou + "\n");
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out, "口 中\n");
    const Result one = run({"handwriting", "--top", "1"}, kKou + "\n");
    EXPECT_EQ(one.out, "口\n");
    EXPECT_EQ(run({"handwriting", "--top", "0"}).status, 2);
    EXPECT_EQ(run({"strokes", "4", "--top", "3"}).status, 2);
}

TEST_F(CliHandwritingTest, MissingOrDamagedStrokeDataIsStatusOne) {
    std::filesystem::remove(folder / "Strokes.db");
    const Result missing = run({"handwriting"}, kKou + "\n");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Strokes.db"), std::string::npos) << missing.err;
    EXPECT_EQ(missing.out, "");
    // show still works without it, only without the outlines.
    const Result shown = run({"--json", "show", "1"});
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(shown.out.find("strokePaths"), std::string::npos);

    lexomir::testing::writeFileBytes(folder / "Strokes.db", std::string(5000, 'x'));
    const Result damaged = run({"handwriting"}, kKou + "\n");
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("Strokes.db"), std::string::npos) << damaged.err;
    EXPECT_EQ(run({"--json", "show", "1"}).status, 1);
}

TEST_F(CliHandwritingTest, ShowJsonGivesTheOutlinesInOrder) {
    const Result shown = run({"--json", "show", "1"});  // 中
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_NE(shown.out.find("\"strokePaths\": [\n    \"M 200 600 L 220 300 Z\",\n"),
              std::string::npos)
        << shown.out;
}

}  // namespace
}  // namespace lexomir::cli
