// Arbitrary idiom inputs and arbitrary ChengYu.dat bytes through the pattern
// builder, the matcher and the scan.
//
// Input: the text typed into LedtChengYu (a FuzzedDataProvider string), then
// the bytes of the file; the number of records the file claims to hold comes
// from the end of the input.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "fuzz_support.h"
#include "gbk_text.h"
#include "idiom_search.h"
#include "index_record_format.h"
#include "search_plans.h"

namespace lexomir::fuzzing {
namespace {

constexpr std::string_view kWildcard = "\xA1\xEF";  // ★

void checkPattern(std::string_view input, const std::string& pattern) {
    const auto equalsSigns = static_cast<std::size_t>(std::count(input.begin(), input.end(), '='));
    const std::size_t unpadded = input.size() + equalsSigns;
    FUZZ_CHECK(pattern.size() == unpadded + unpadded % 2);
    FUZZ_CHECK(pattern.find('=') == std::string::npos);
}

// The idiom text of one record as the file format defines it: the bytes
// before the NUL, at most the text width when there is none.
std::string_view recordText(std::string_view record) {
    const std::size_t nul = record.find('\0');
    return record.substr(0, std::min(nul, chengyu_record::kMaxTextBytes));
}

void checkMatcher(std::string_view text, std::string_view pattern) {
    const bool matches = idiomMatches(text, pattern);
    if (matches) FUZZ_CHECK(pattern.size() <= text.size());
    FUZZ_CHECK(idiomMatches(text, text));
    std::string wildcards;
    while (wildcards.size() + kWildcard.size() <= text.size()) wildcards.append(kWildcard);
    FUZZ_CHECK(idiomMatches(text, wildcards));
}

void checkScan(std::string_view fileBytes, std::int32_t claimedRecords,
               const std::string& pattern) {
    static MemoryFile file;
    file.assign(fileBytes);
    IndexFile index(file.path(), chengyu_record::kSize, claimedRecords);
    FoundList VecChengYu;
    const ScanOutcome outcome = scanChengYu(index, pattern, nullptr, VecChengYu);

    const std::size_t wholeRecords = fileBytes.size() / chengyu_record::kSize;
    const bool complete = wholeRecords >= static_cast<std::size_t>(claimedRecords);
    FUZZ_CHECK((outcome.end == ScanEnd::Completed) == complete);
    FUZZ_CHECK((outcome.end == ScanEnd::Failed) == (!complete && outcome.error.has_value()));

    std::vector<std::int32_t> expected;
    const std::size_t readable = std::min(wholeRecords, static_cast<std::size_t>(claimedRecords));
    for (std::size_t r = 0; r < readable; ++r) {
        const std::string_view text =
            recordText(fileBytes.substr(r * chengyu_record::kSize, chengyu_record::kSize));
        checkMatcher(text, pattern);
        if (idiomMatches(text, pattern)) expected.push_back(static_cast<std::int32_t>(r + 1));
    }
    FUZZ_CHECK(recordNumbers(VecChengYu) == expected);
    for (const FoundEntry& found : VecChengYu) {
        const std::string_view record =
            fileBytes.substr(static_cast<std::size_t>(found.record - 1) * chengyu_record::kSize,
                             chengyu_record::kSize);
        FUZZ_CHECK(found.text == recordText(record));
    }
}

}  // namespace
}  // namespace lexomir::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace lexomir;
    using namespace lexomir::fuzzing;
    FuzzedDataProvider data(bytes, size);
    const auto claimedRecords = data.ConsumeIntegralInRange<std::int32_t>(0, 4);
    const std::string input = data.ConsumeRandomLengthString(64);
    const std::string fileBytes = data.ConsumeBytesAsString(5 * chengyu_record::kSize);

    // The builder also sees untrimmed text; the window only hands it trimmed.
    checkPattern(input, buildIdiomPattern(input));

    const IdiomSearchPlan plan = planIdiomSearch(input);
    const std::string trimmed = trimControl(input);
    if (const auto* refusal = std::get_if<Refusal>(&plan)) {
        FUZZ_CHECK(trimmed.empty() && !refusal->message.empty());
        FUZZ_CHECK(refusal->focus == InputFocus::LedtChengYu);
        return 0;
    }
    const std::string& pattern = std::get<std::string>(plan);
    FUZZ_CHECK(!trimmed.empty());
    checkPattern(trimmed, pattern);
    checkScan(fileBytes, claimedRecords, pattern);
    return 0;
}
