#include "character_filters.h"

#include <memory>
#include <utility>

#include "gbk_text.h"

namespace lexomir {
namespace {

bool beginsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// The first reading and the rest after the first comma; a field without a
// comma, or starting with one, is all first reading.
std::pair<std::string_view, std::string_view> splitReadings(std::string_view field, bool& hasRest) {
    const std::size_t comma = field.find(',');
    hasRest = comma != std::string_view::npos && comma != 0;
    if (!hasRest) return {field, {}};
    return {field.substr(0, comma), field.substr(comma + 1)};
}

bool isBlankOrControl(char c) {
    return static_cast<unsigned char>(c) < 33;
}

// The two-byte characters standing at character boundaries of a typed text:
// one lookup per record instead of a search through the whole text.
class TypedCharacterSet {
  public:
    explicit TypedCharacterSet(std::string_view typed) : m_typed(typed) {
        m_characters.addCharactersOf(typed);
    }
    bool contains(std::string_view character) const {
        if (character.size() != 2) return false;
        // Records always hold proper GBK characters; anything else takes
        // the plain character-aligned search.
        if (!isGbkLeadByte(static_cast<unsigned char>(character[0]))) {
            return gbkFind(m_typed, character) != 0;
        }
        return m_characters.contains(character);
    }

  private:
    std::string m_typed;
    GbkCharacterSet m_characters;
};

}  // namespace

bool readingsBeginWith(std::string_view pinyinField, std::string_view prefix) {
    bool hasRest = false;
    const auto [first, rest] = splitReadings(pinyinField, hasRest);
    if (!hasRest) return beginsWith(pinyinField, prefix);
    return beginsWith(first, prefix) || beginsWith(rest, prefix);
}

bool initialLetterMatches(std::string_view pinyinField, std::string_view letter) {
    if (letter.size() != 1) return false;
    bool hasRest = false;
    const auto [first, rest] = splitReadings(pinyinField, hasRest);
    const bool firstMatches = !pinyinField.empty() && pinyinField[0] == letter[0];
    if (!hasRest) return firstMatches;
    return firstMatches || (!rest.empty() && rest[0] == letter[0]);
}

std::vector<std::string> buildKeywordList(std::string_view keywordsText) {
    std::vector<std::string> keywords;
    std::string text = trimControl(keywordsText);
    if (text.empty()) return keywords;
    text.push_back(' ');
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t blank = rest.find(' ');
        keywords.emplace_back(rest.substr(0, blank));
        rest.remove_prefix(blank + 1);
        while (!rest.empty() && isBlankOrControl(rest.front())) rest.remove_prefix(1);
    }
    return keywords;
}

bool anyKeywordOccurs(const std::vector<std::string>& keywords, std::string_view jijie,
                      std::string_view xiangjie, int meaningRange) {
    for (const std::string& keyword : keywords) {
        if (gbkFind(jijie, keyword) != 0) return true;
        if (meaningRange == 2 && gbkFind(xiangjie, keyword) != 0) return true;
    }
    return false;
}

CharacterFilter pinyinFilter(std::string prefix) {
    return [prefix = std::move(prefix)](std::int32_t, const XinHuaRecord& record) {
        return readingsBeginWith(record.pinyin(), prefix);
    };
}

CharacterFilter tonedPinyinFilter(std::string prefix, ToneFilter tone) {
    return [prefix = std::move(prefix), tone = std::move(tone)](std::int32_t id,
                                                                const XinHuaRecord& record) {
        return readingsBeginWith(record.pinyin(), prefix) && tone && tone(id);
    };
}

CharacterFilter hanziFilter(std::string typed) {
    auto set = std::make_shared<const TypedCharacterSet>(typed);
    return [set](std::int32_t, const XinHuaRecord& record) {
        return set->contains(record.character());
    };
}

CharacterFilter radicalFilter(std::string radical, int strokeGroup, int remaining) {
    return [radical = std::move(radical), strokeGroup, remaining](std::int32_t,
                                                                  const XinHuaRecord& record) {
        if (remaining < 0 || record.radical() != radical) return false;
        // Summed in 64 bits: remaining comes from a control and may be any int.
        return remaining == 0 || std::int64_t{record.strokes()} ==
                                     std::int64_t{strokeGroup} + std::int64_t{remaining};
    };
}

CharacterFilter strokeCountFilter(int totalStrokes) {
    return [totalStrokes](std::int32_t, const XinHuaRecord& record) {
        return static_cast<int>(record.strokes()) == totalStrokes;
    };
}

CharacterFilter combinedFilter(CombinedCriteria criteria, MeaningFilter meaning) {
    return [criteria = std::move(criteria), meaning = std::move(meaning)](
               std::int32_t id, const XinHuaRecord& record) {
        if (!criteria.letter.empty() && !initialLetterMatches(record.pinyin(), criteria.letter)) {
            return false;
        }
        if (!criteria.radical.empty() && record.radical() != criteria.radical) return false;
        if (criteria.minStrokes > 0 && static_cast<int>(record.strokes()) < criteria.minStrokes) {
            return false;
        }
        if (criteria.meaningRange > 0) return meaning && meaning(id);
        return true;
    };
}

}  // namespace lexomir
