// Arbitrary bytes as a stroke outline, and as ink for the recogniser's
// normalisation and alignment: a damaged Strokes.db or a strange drawing must
// give a refusal or an answer, never a crash.
//
// Input: a FuzzedDataProvider string as the path, then pairs of floats as
// points, a byte now and then ending a stroke.
#include <cmath>
#include <string>

#include "fuzz_support.h"
#include "recogniser.h"
#include "stroke_path.h"

namespace lexomir::fuzzing {

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const std::string path = data.ConsumeRandomLengthString(512);
    try {
        for (const handwriting::PathCommand& command : handwriting::parseStrokePath(path)) {
            FUZZ_CHECK(command.pointCount >= 0 && command.pointCount <= 3);
            FUZZ_CHECK(path.find(static_cast<char>(command.kind)) != std::string::npos);
        }
    } catch (const handwriting::PathSyntaxError&) {
    }

    handwriting::Ink ink(1);
    while (data.remaining_bytes() > 0 && ink.size() < 12) {
        if (data.ConsumeIntegralInRange(0, 7) == 0) ink.emplace_back();
        const float x = data.ConsumeFloatingPoint<float>();
        const float y = data.ConsumeFloatingPoint<float>();
        if (std::isfinite(x) && std::isfinite(y) && std::abs(x) < 1e7f && std::abs(y) < 1e7f)
            ink.back().push_back({x, y});
    }
    const handwriting::Ink cross = {{{0, 50}, {100, 50}}, {{50, 0}, {50, 100}}};
    const handwriting::Alignment alignment =
        handwriting::alignStrokes(ink, cross, handwriting::AlignmentPrices{});
    FUZZ_CHECK(alignment.cost >= 0);
    const handwriting::Recogniser recogniser({{"shi", cross}, {"yi", {cross[0]}}});
    FUZZ_CHECK(recogniser.recognise(ink, 5).size() <= 2);
    return 0;
}

}  // namespace lexomir::fuzzing
