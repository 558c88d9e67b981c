#include "character_source.h"

#include <charconv>
#include <string_view>

namespace lexomir::xinhua {
namespace {

constexpr std::size_t kColumnCount = 11;

std::vector<std::string> split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

[[noreturn]] void rowError(int line, const std::string& what) {
    throw BuildError("characters table, line " + std::to_string(line) + ": " + what);
}

long parseNumber(const std::string& text, int line, const char* column) {
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        rowError(line, std::string(column) + " is not a number: \"" + text + "\"");
    }
    return value;
}

Reading parseReading(const std::string& text, int line) {
    const auto parts = split(text, '/');
    if (parts.size() != 3 || parts[0].empty() || parts[1].empty()) {
        rowError(line, "reading \"" + text + "\" is not marked/plain/tone");
    }
    const long tone = parseNumber(parts[2], line, "tone");
    if (tone < 1 || tone > 5) rowError(line, "tone out of range in \"" + text + "\"");
    return {parts[0], parts[1], static_cast<int>(tone)};
}

std::vector<RadicalCandidate> parseCandidates(const std::string& text, int line) {
    std::vector<RadicalCandidate> candidates;
    if (text.empty()) return candidates;
    for (const std::string& item : split(text, ' ')) {
        const std::size_t colon = item.find(':');
        if (colon == std::string::npos || colon == 0 || colon + 1 == item.size()) {
            rowError(line, "radical candidate \"" + item + "\" is not source:form");
        }
        candidates.push_back({item.substr(0, colon), item.substr(colon + 1)});
    }
    return candidates;
}

}  // namespace

CharacterSource parseCharacterRow(const std::string& row, int line) {
    const auto columns = split(row, '\t');
    if (columns.size() != kColumnCount) {
        rowError(line, "expected " + std::to_string(kColumnCount) + " columns, found " +
                           std::to_string(columns.size()));
    }
    CharacterSource source;
    source.line = line;
    source.zi = columns[0];
    if (!columns[1].empty()) {
        for (const std::string& reading : split(columns[1], ' ')) {
            source.readings.push_back(parseReading(reading, line));
        }
    }
    source.strokes = static_cast<int>(parseNumber(columns[2], line, "strokes"));
    source.modernRadical = columns[3];
    source.kangxiCandidates = parseCandidates(columns[4], line);
    source.level = static_cast<int>(parseNumber(columns[5], line, "level"));
    if (source.level < 0 || source.level > 3) rowError(line, "level must be 0 to 3");
    source.required = source.level > 0;
    source.rarity = parseNumber(columns[6], line, "rarity");
    source.wubi = columns[7];
    source.jijie = columns[8];
    source.xiangjie = columns[9];
    if (!columns[10].empty()) source.variants = split(columns[10], ' ');
    return source;
}

std::vector<CharacterSource> readCharacterTable(std::istream& in) {
    std::vector<CharacterSource> sources;
    std::string row;
    int line = 0;
    while (std::getline(in, row)) {
        ++line;
        if (row.empty()) continue;
        sources.push_back(parseCharacterRow(row, line));
    }
    if (in.bad()) throw BuildError("characters table: read error");
    return sources;
}

}  // namespace lexomir::xinhua
