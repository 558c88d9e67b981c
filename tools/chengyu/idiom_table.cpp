#include <fstream>
#include <string>

#include "chengyu_builder.h"

namespace lexomir::chengyu {
namespace {

constexpr std::string_view kHeader = "ChengYu\tPinYin\tDianGu\tChuChu\tLiZi";
constexpr std::size_t kColumnCount = 5;

std::string lineError(std::size_t lineNumber, const std::string& what) {
    return "idiom table line " + std::to_string(lineNumber) + ": " + what;
}

std::string unescapeField(std::string_view field, std::size_t lineNumber) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        if (++i == field.size())
            throw BuildError(lineError(lineNumber, "field ends in a lone backslash"));
        switch (field[i]) {
            case '\\':
                out += '\\';
                break;
            case 't':
                out += '\t';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                throw BuildError(
                    lineError(lineNumber, std::string("unknown escape \\") + field[i]));
        }
    }
    return out;
}

std::vector<std::string_view> splitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string_view::npos;
         tab = line.find('\t', start)) {
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

}  // namespace

IdiomTable readIdiomTable(std::istream& in) {
    IdiomTable table;
    bool headerSeen = false;
    std::string line;
    for (std::size_t lineNumber = 1; std::getline(in, line); ++lineNumber) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!headerSeen && line.starts_with('#')) {
            table.notes.push_back(line.substr(line.find_first_not_of("# ")));
            continue;
        }
        if (!headerSeen) {
            if (line != kHeader)
                throw BuildError(
                    lineError(lineNumber, "expected the header line " + std::string(kHeader)));
            headerSeen = true;
            continue;
        }
        if (line.empty()) continue;
        const auto fields = splitTabs(line);
        if (fields.size() != kColumnCount) {
            throw BuildError(lineError(lineNumber, std::to_string(fields.size()) +
                                                       " fields, expected " +
                                                       std::to_string(kColumnCount)));
        }
        table.rows.push_back(
            {unescapeField(fields[0], lineNumber), unescapeField(fields[1], lineNumber),
             unescapeField(fields[2], lineNumber), unescapeField(fields[3], lineNumber),
             unescapeField(fields[4], lineNumber)});
    }
    if (in.bad()) throw BuildError("idiom table: read error");
    if (!headerSeen) throw BuildError("idiom table: no header line " + std::string(kHeader));
    return table;
}

IdiomTable readIdiomTable(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw BuildError("cannot open idiom table " + file.string());
    try {
        return readIdiomTable(in);
    } catch (const BuildError& error) {
        throw BuildError(file.string() + ": " + error.what());
    }
}

}  // namespace lexomir::chengyu
