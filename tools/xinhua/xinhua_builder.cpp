#include "xinhua_builder.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <set>
#include <tuple>

#include "gbk_codec.h"
#include "gbk_text.h"
#include "radical_table.h"
#include "utf8_decoder.h"

namespace lexomir::xinhua {
namespace {

constexpr char32_t kFirstCodePoint = 0x4E00;
constexpr char32_t kLastCodePoint = 0x9FA5;
constexpr std::size_t kPinyinBytes = xinhua_record::kPinyinWidth - 1;

[[noreturn]] void fail(const CharacterSource& source, const std::string& what) {
    throw BuildError("line " + std::to_string(source.line) + " (" + source.zi + "): " + what);
}

// The code point of a text that is exactly one UTF-8 character, else 0.
char32_t singleCodePoint(const std::string& text) {
    std::size_t pos = 0;
    const std::optional<char32_t> codePoint = data::decodeUtf8(text, pos);
    return codePoint && pos == text.size() ? *codePoint : 0;
}

std::string toGbkCharacter(const CharacterSource& source, const std::string& utf8,
                           const char* what) {
    std::string gbk;
    try {
        gbk = utf8ToGbk(utf8);
    } catch (const TextConversionError& error) {
        fail(source, std::string(what) + " \"" + utf8 + "\" cannot be converted: " + error.what());
    }
    if (!isGbkTwoByteCharacter(gbk))
        fail(source, std::string(what) + " \"" + utf8 + "\" is not one 2-byte GBK character");
    return gbk;
}

bool inRadicalTable(const std::string& utf8) {
    try {
        const std::string gbk = utf8ToGbk(utf8);
        return isGbkTwoByteCharacter(gbk) && BuShouTable().contains(gbk);
    } catch (const TextConversionError&) {
        return false;
    }
}

bool isLowerAscii(const std::string& text, bool allowComma) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [&](char c) {
        return (c >= 'a' && c <= 'z') || (allowComma && c == ',');
    });
}

// Keeps the required characters and the commonest of the rest; refuses when
// that cannot give exactly the wanted count.
std::vector<CharacterSource> keepCommonest(std::vector<CharacterSource> sources,
                                           std::int32_t wanted, BuildSummary& summary) {
    summary.candidates = sources.size();
    const auto count = static_cast<std::size_t>(wanted);
    if (sources.size() < count) {
        throw BuildError("only " + std::to_string(sources.size()) + " candidate characters, " +
                         std::to_string(count) + " needed");
    }
    std::set<long> rarities;
    std::vector<const CharacterSource*> droppable;
    for (const CharacterSource& source : sources) {
        if (!rarities.insert(source.rarity).second) fail(source, "rarity rank is not unique");
        if (source.required)
            ++summary.required;
        else
            droppable.push_back(&source);
    }
    const std::size_t toDrop = sources.size() - count;
    if (droppable.size() < toDrop) {
        throw BuildError(std::to_string(summary.required) + " required characters exceed the " +
                         std::to_string(count) + " records");
    }
    std::sort(
        droppable.begin(), droppable.end(),
        [](const CharacterSource* a, const CharacterSource* b) { return a->rarity < b->rarity; });
    std::set<long> dropped;
    for (std::size_t i = 0; i < toDrop; ++i) dropped.insert(droppable[i]->rarity);
    std::erase_if(sources, [&](const CharacterSource& s) { return dropped.count(s.rarity) != 0; });
    summary.dropped = toDrop;
    return sources;
}

void checkDistinctCharacters(const std::vector<CharacterSource>& sources) {
    std::set<std::string> seen;
    for (const CharacterSource& source : sources) {
        if (!seen.insert(source.zi).second) fail(source, "character appears twice");
    }
}

// Common characters first: by the 2013 list's level (1, 2, 3, then
// unlisted), then first reading toneless, tone, strokes and code point. Within
// one first reading this is level, tone, strokes; putting the level ahead of
// the reading also puts 中 before the rare characters that reach "zhong" only
// through a second reading (徸 chong,zhong).
void sortForIndex(std::vector<CharacterSource>& sources) {
    const auto key = [](const CharacterSource& s) {
        return std::make_tuple(s.level == 0 ? 4 : s.level, std::cref(s.readings.front().plain),
                               s.readings.front().tone, s.strokes, singleCodePoint(s.zi));
    };
    std::sort(sources.begin(), sources.end(),
              [&](const CharacterSource& a, const CharacterSource& b) { return key(a) < key(b); });
}

// cnchar-radical's answer where the table holds it, else the kRSUnicode rule.
RadicalChoice modernOrKangxiRadical(const CharacterSource& source) {
    if (!source.modernRadical.empty() && inRadicalTable(source.modernRadical)) {
        return {source.modernRadical, "cnchar-radical"};
    }
    return kangxiRadical(source);
}

XinHuaEntry makeEntry(const CharacterSource& source, const std::set<std::string>& kept,
                      BuildSummary& summary) {
    const char32_t codePoint = singleCodePoint(source.zi);
    if (codePoint < kFirstCodePoint || codePoint > kLastCodePoint) {
        fail(source, "character is not one of U+4E00..U+9FA5");
    }
    if (source.readings.empty()) fail(source, "no reading");
    for (const Reading& reading : source.readings) {
        if (!isLowerAscii(reading.plain, false))
            fail(source, "toneless reading \"" + reading.plain + "\" is not a-z");
        if (reading.marked.empty()) fail(source, "empty tone-marked reading");
    }
    if (source.strokes < 1 || source.strokes > 255) {
        fail(source, "stroke count " + std::to_string(source.strokes) + " is outside 1..255");
    }
    if (!isLowerAscii(source.wubi, false))
        fail(source, "Wubi code \"" + source.wubi + "\" is empty or not a-z");

    const FittedReadings fitted = fitReadings(source.readings);
    if (fitted.field.empty()) fail(source, "main reading does not fit the pinyin field");
    summary.readingsCut += fitted.cut;
    if (fitted.cut > 0) ++summary.charactersWithReadingsCut;

    const RadicalChoice radical = chooseRadical(source);
    if (radical.form.empty()) fail(source, "no radical of the radical table fits");
    ++summary.radicalsBySource[radical.source];
    if (radical.source == "self" && modernOrKangxiRadical(source).form != radical.form)
        summary.movedToOwnRadical.push_back(source.zi);
    if (!source.modernRadical.empty()) {
        ++summary.modernCovered;
        if (kangxiRadical(source).form == source.modernRadical) ++summary.kangxiAgrees;
    }

    XinHuaEntry entry;
    entry.ziGbk = toGbkCharacter(source, source.zi, "character");
    entry.pinyinGbk = fitted.field;
    entry.radicalGbk = toGbkCharacter(source, radical.form, "radical");
    if (!BuShouTable().contains(entry.radicalGbk))
        fail(source, "radical " + radical.form + " is not in the radical table");
    entry.strokes = static_cast<std::uint8_t>(source.strokes);
    entry.zi = source.zi;
    entry.pinyin = fitted.marked;
    entry.py = fitted.field;
    entry.bushou = radical.form;
    entry.bihua = source.strokes;
    entry.wubi = source.wubi;
    entry.jijie = source.jijie;
    entry.xiangjie = source.xiangjie;
    const std::string variants = variantLine(source, kept);
    if (!variants.empty()) {
        entry.xiangjie += (entry.xiangjie.empty() ? "" : "<br>") + variants;
        ++summary.variantLines;
    }
    return entry;
}

}  // namespace

FittedReadings fitReadings(const std::vector<Reading>& readings) {
    FittedReadings fitted;
    std::vector<std::string> kept;
    for (const Reading& reading : readings) {
        const bool known = std::find(kept.begin(), kept.end(), reading.plain) != kept.end();
        if (!known) {
            const std::size_t grown =
                fitted.field.size() + (fitted.field.empty() ? 0 : 1) + reading.plain.size();
            if (grown > kPinyinBytes) {
                ++fitted.cut;
                continue;
            }
            if (!fitted.field.empty()) fitted.field += ',';
            fitted.field += reading.plain;
            kept.push_back(reading.plain);
        }
        if (!fitted.marked.empty()) fitted.marked += ',';
        fitted.marked += reading.marked;
    }
    return fitted;
}

RadicalChoice kangxiRadical(const CharacterSource& source) {
    for (const RadicalCandidate& candidate : source.kangxiCandidates) {
        if (candidate.source != "self" && inRadicalTable(candidate.form))
            return {candidate.form, candidate.source};
    }
    return {};
}

RadicalChoice chooseRadical(const CharacterSource& source) {
    for (const RadicalCandidate& candidate : source.kangxiCandidates) {
        if (candidate.source == "self" && candidate.form == source.zi &&
            inRadicalTable(candidate.form))
            return {candidate.form, candidate.source};
    }
    return modernOrKangxiRadical(source);
}

std::string variantLine(const CharacterSource& source, const std::set<std::string>& kept) {
    std::string listed;
    for (const std::string& variant : source.variants) {
        if (variant == source.zi || kept.count(variant) == 0) continue;
        listed += (listed.empty() ? "" : "、") + variant;
    }
    return listed.empty() ? listed : "异体字：" + listed;
}

BuildResult buildXinHua(std::vector<CharacterSource> sources, const BuildOptions& options) {
    BuildResult result;
    checkDistinctCharacters(sources);
    sources = keepCommonest(std::move(sources), options.recordCount, result.summary);
    for (const CharacterSource& source : sources) {
        if (source.readings.empty()) fail(source, "no reading");
    }
    sortForIndex(sources);
    std::set<std::string> kept;
    for (const CharacterSource& source : sources) kept.insert(source.zi);
    result.entries.reserve(sources.size());
    for (const CharacterSource& source : sources) {
        result.entries.push_back(makeEntry(source, kept, result.summary));
    }
    if (result.entries.size() != static_cast<std::size_t>(options.recordCount)) {
        throw BuildError("built " + std::to_string(result.entries.size()) + " records, expected " +
                         std::to_string(options.recordCount));
    }
    const double agreement = result.summary.agreementPercent();
    if (agreement < options.minimumAgreementPercent) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "radicals from kRSUnicode agree with cnchar-radical on %.2f%% of %zu "
                      "characters, below the %.2f%% required",
                      agreement, result.summary.modernCovered, options.minimumAgreementPercent);
        throw BuildError(text);
    }
    return result;
}

}  // namespace lexomir::xinhua
