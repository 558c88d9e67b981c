#include "strokes_builder.h"

#include <charconv>

#include "gbk_codec.h"
#include "index_file.h"
#include "stroke_database.h"
#include "stroke_path.h"
#include "stroke_tables.h"
#include "utf8_decoder.h"
#include "xinhua_record.h"

namespace lexomir::strokes {
namespace {

namespace hw = handwriting;

constexpr std::string_view kSourceMark = "#source\t";
constexpr std::string_view kHeader = "zi\tstrokes\toutlines\tmedians";

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = line.find('\t', start);
        fields.push_back(line.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) return fields;
        start = end + 1;
    }
}

char32_t singleCodePoint(const std::string& zi) {
    std::size_t at = 0;
    const auto codePoint = data::decodeUtf8(zi, at);
    if (!codePoint || at != zi.size()) return 0;
    return *codePoint;
}

StrokeRow parseRow(const std::string& line, int number, char32_t& previous) {
    auto fail = [&](const std::string& what) -> BuildError {
        return BuildError("strokes table, line " + std::to_string(number) + ": " + what);
    };
    const std::vector<std::string> fields = splitTabs(line);
    if (fields.size() != 4) throw fail("needs 4 tab-separated fields");
    StrokeRow row{fields[0], 0, fields[2], fields[3]};
    const char32_t codePoint = singleCodePoint(row.zi);
    if (codePoint == 0) throw fail("\"" + row.zi + "\" is not one character");
    if (codePoint <= previous) throw fail(row.zi + " is out of code-point order");
    previous = codePoint;
    const auto [end, error] =
        std::from_chars(fields[1].data(), fields[1].data() + fields[1].size(), row.strokeCount);
    if (error != std::errc() || end != fields[1].data() + fields[1].size() || row.strokeCount < 1)
        throw fail("bad stroke count \"" + fields[1] + "\"");
    try {
        const std::vector<std::string> outlines = hw::splitOutlines(row.outlines);
        for (const std::string& outline : outlines) hw::parseStrokePath(outline);
        const hw::Ink medians = hw::parseCentreLines(row.medians);
        const auto count = static_cast<std::size_t>(row.strokeCount);
        if (outlines.size() != count || medians.size() != count)
            throw fail(row.zi + ": " + std::to_string(count) + " strokes, " +
                       std::to_string(outlines.size()) + " outlines, " +
                       std::to_string(medians.size()) + " centre lines");
    } catch (const std::runtime_error& refusal) {
        if (dynamic_cast<const BuildError*>(&refusal)) throw;
        throw fail(row.zi + ": " + refusal.what());
    }
    return row;
}

}  // namespace

StrokeTable readStrokeTable(std::istream& in) {
    StrokeTable table;
    std::string line;
    if (!std::getline(in, line) || !line.starts_with(kSourceMark))
        throw BuildError("strokes table, line 1: expected \"#source\\t<package> <version>\"");
    table.source = line.substr(kSourceMark.size());
    if (!std::getline(in, line) || line != kHeader)
        throw BuildError("strokes table, line 2: expected the header " + std::string(kHeader));
    char32_t previous = 0;
    for (int number = 3; std::getline(in, line); ++number) {
        if (line.empty()) continue;
        table.rows.push_back(parseRow(line, number, previous));
    }
    if (table.rows.empty()) throw BuildError("strokes table: no characters");
    return table;
}

std::set<std::string> dictionaryCharacters(const std::filesystem::path& dataFolder) {
    IndexFile index = openXinHuaIndex(dataFolder);
    if (const auto failure = index.rewind()) throw BuildError(failure->describe());
    std::set<std::string> characters;
    for (std::int32_t n = 0; n < index.recordCount(); ++n) {
        const char* record = index.nextRecord();
        if (!record) throw BuildError(index.error()->describe());
        const std::string_view zi = XinHuaRecord(record).character();
        if (!zi.empty()) characters.insert(gbkToUtf8(zi));
    }
    return characters;
}

StrokeTable keepingOnly(StrokeTable table, const std::set<std::string>& characters) {
    std::erase_if(table.rows, [&](const StrokeRow& row) { return !characters.contains(row.zi); });
    return table;
}

std::vector<std::string> conversionNotice(const std::string& source) {
    return {
        "This file is a converted copy of the character data of " + source +
            " (npm), whose data is derived from the Make Me a Hanzi project and is "
            "distributed under the Arphic Public License, a copy of which is in the file "
            "ARPHICPL.TXT beside this one. It is a separate data file that Lexomir reads at "
            "run time; it is not part of Lexomir's program code.",
        "How it was converted: Lexomir's data build (tools/strokes: extract-strokes.mjs, then "
        "lexomir-build-strokes) read the JSON file of each character that Lexomir's "
        "dictionary also holds and wrote one row of table strokes per character: the stroke "
        "outlines (SVG path strings) and the centre lines "
        "(median points) unchanged in value and order, strokes separated by \";\" and the "
        "points of a centre line written \"x,y\" separated by blanks. The field radStrokes "
        "and the characters the dictionary lacks were left out; nothing was added or "
        "altered.",
    };
}

void writeStrokesDb(const StrokeTable& table, const std::filesystem::path& file) {
    namespace s = hw::strokes_table;
    namespace n = hw::notice_table;
    constexpr data::ColumnDefinition kStrokeColumns[] = {
        {s::kZi, "TEXT PRIMARY KEY"},
        {s::kBihua, "INTEGER NOT NULL"},
        {s::kOutlines, "TEXT NOT NULL"},
        {s::kMedians, "TEXT NOT NULL"},
    };
    constexpr data::ColumnDefinition kNoticeColumns[] = {
        {n::kId, "INTEGER PRIMARY KEY"},
        {n::kText, "TEXT NOT NULL"},
    };
    const std::vector<std::string> notice = conversionNotice(table.source);
    const data::TableContent tables[] = {
        {n::kName, kNoticeColumns, notice.size(),
         [&](data::RowBinder& row, std::size_t i) {
             row.integer(1, static_cast<std::int64_t>(i + 1));
             row.text(2, notice[i]);
         }},
        {s::kName, kStrokeColumns, table.rows.size(),
         [&](data::RowBinder& row, std::size_t i) {
             const StrokeRow& entry = table.rows[i];
             row.text(1, entry.zi);
             row.integer(2, entry.strokeCount);
             row.text(3, entry.outlines);
             row.text(4, entry.medians);
         }},
    };
    // A character's row is a few kilobytes: on 64 KiB pages the file is a
    // fifth smaller than on the usual 4 KiB.
    data::writeDatabaseReplacing(file, tables, 65536);
}

}  // namespace lexomir::strokes
