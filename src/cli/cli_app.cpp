#include "cli_app.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <istream>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "data_folder.h"
#include "dictionary_database.h"
#include "dictionary_tables.h"
#include "entry_text.h"
#include "gbk_codec.h"
#include "gbk_text.h"
#include "idiom_search.h"
#include "lookup_store.h"
#include "radical_table.h"
#include "search_plans.h"
#include "settings_location.h"
#include "stroke_database.h"
#include "stroke_tables.h"
#include "template_loading.h"
#include "traditional_chinese.h"
#include "xinhua_scan.h"

namespace lexomir::cli {
namespace {

// Keys in the order the help text documents them.
using Json = nlohmann::ordered_json;

// Bad input found while executing; ends the command with kExitRefused.
struct UsageFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// An index file that could not be read; ends the command with kExitFailure.
struct IndexFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Strokes.db missing or damaged where a command needs it; kExitFailure.
struct StrokeDataFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// show or show-idiom of a record the database does not hold: bad input.
struct NoSuchRecord : UsageFailure {
    NoSuchRecord(std::string_view kind, std::int32_t n, const std::filesystem::path& database)
        : UsageFailure("there is no " + std::string(kind) + " record " + std::to_string(n) +
                       " in " + database.string()) {}
};

struct CommandShape {
    std::string_view name;
    std::size_t operands;
};

constexpr CommandShape kCommands[] = {
    {"pinyin", 1},      {"chars", 1},   {"radical", 2}, {"strokes", 1},
    {"combined", 0},    {"idiom", 1},   {"show", 1},    {"show-idiom", 1},
    {"handwriting", 0}, {"history", 0}, {"words", 0},
};

constexpr int kDefaultCandidates = 10;
constexpr int kMostCandidates = 100;

bool isListCommand(std::string_view command) {
    return command == "history" || command == "words";
}

const CommandShape* findCommand(std::string_view name) {
    for (const CommandShape& shape : kCommands) {
        if (shape.name == name) return &shape;
    }
    return nullptr;
}

std::string toGbk(const std::string& utf8, std::string_view what) {
    try {
        return utf8ToGbk(utf8);
    } catch (const TextConversionError&) {
        throw UsageFailure(std::string(what) + " is not valid UTF-8");
    }
}

// Terminal text: UTF-8 with plain line feeds.
std::string toTerminal(std::string_view gbk) {
    std::string utf8 = gbkToUtf8(gbk);
    std::string text;
    text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
        text.push_back(utf8[i]);
    }
    return text;
}

// The pieces of UTF-8 text between separators, empty ones left out.
Json splitText(std::string_view utf8, char separator) {
    Json pieces = Json::array();
    while (!utf8.empty()) {
        const std::size_t end = std::min(utf8.find(separator), utf8.size());
        if (end > 0) pieces.push_back(std::string(utf8.substr(0, end)));
        utf8.remove_prefix(std::min(end + 1, utf8.size()));
    }
    return pieces;
}

// Comma-separated readings as a list.
Json readingList(std::string_view gbk) {
    return splitText(toTerminal(gbk), ',');
}

// The lines of an explanation whose line breaks are "<br>", as the entry
// shows them.
Json lineList(std::string_view gbk) {
    return splitText(toTerminal(gbkReplaceAll(std::string(gbk), "<br>", "\n")), '\n');
}

Json characterJson(std::int32_t number, const CharacterEntry& entry) {
    Json json = {{"number", number},
                 {"character", toTerminal(entry.zi)},
                 {"readings", readingList(entry.pinyin)},
                 {"radical", toTerminal(entry.bushou)},
                 {"strokes", entry.bihua},
                 {"wubi", toTerminal(entry.wubi)},
                 {"brief", lineList(entry.jijie)},
                 {"detailed", lineList(entry.xiangjie)}};
    if (!entry.bishun.empty()) {
        Json names = Json::array();
        const std::string separator = "、";
        const std::string namesUtf8 = toTerminal(entry.bishun);
        std::string_view rest = namesUtf8;
        for (std::size_t at = rest.find(separator); at != std::string_view::npos;
             at = rest.find(separator)) {
            names.push_back(std::string(rest.substr(0, at)));
            rest.remove_prefix(at + separator.size());
        }
        names.push_back(std::string(rest));
        json["strokeOrder"] = std::move(names);
    }
    return json;
}

// One input line of the handwriting command: [[[x, y], ...], ...], any
// scale and offset, y downward. Throws UsageFailure naming the line.
handwriting::Ink parseInkLine(const std::string& line, std::size_t number) {
    const auto fail = [&](const std::string& what) {
        return UsageFailure("handwriting, input line " + std::to_string(number) + ": " + what);
    };
    const Json strokes = Json::parse(line, nullptr, false);
    if (strokes.is_discarded()) throw fail("not JSON");
    if (!strokes.is_array()) throw fail("expected an array of strokes");
    handwriting::Ink ink;
    for (const Json& stroke : strokes) {
        if (!stroke.is_array() || stroke.empty())
            throw fail("each stroke must be a non-empty array of [x, y] points");
        handwriting::Stroke points;
        for (const Json& point : stroke) {
            if (!point.is_array() || point.size() != 2 || !point[0].is_number() ||
                !point[1].is_number())
                throw fail("each point must be [x, y] with two numbers");
            const auto x = point[0].get<double>();
            const auto y = point[1].get<double>();
            if (!std::isfinite(x) || !std::isfinite(y) || std::abs(x) > 1e7 || std::abs(y) > 1e7)
                throw fail("a coordinate is out of range");
            points.push_back({static_cast<float>(x), static_cast<float>(y)});
        }
        ink.push_back(std::move(points));
    }
    return ink;
}

Json idiomJson(std::int32_t number, const IdiomEntry& entry) {
    return {{"number", number},
            {"idiom", toTerminal(entry.ChengYu)},
            {"pinyin", toTerminal(entry.PinYin)},
            {"explanation", toTerminal(entry.DianGu)},
            {"source", toTerminal(entry.ChuChu)},
            {"example", toTerminal(entry.LiZi)}};
}

int parseNumber(const std::string& text, int min, int max, std::string_view what) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [last, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || last != end || value < min || value > max) {
        throw UsageFailure(std::string(what) + " must be a whole number from " +
                           std::to_string(min) + " to " + std::to_string(max) + ", not \"" + text +
                           "\"");
    }
    return value;
}

// The item of the radical list that the text names; a stroke-group heading
// such as "3画" is an item too, which the search then refuses, as the window
// does.
int radicalListIndex(const std::string& utf8Radical) {
    const std::optional<int> index = BuShouTable().listIndexOf(toGbk(utf8Radical, "the radical"));
    if (!index) throw UsageFailure("\"" + utf8Radical + "\" is not in the radical table");
    return *index;
}

class Session {
  public:
    Session(const Invocation& invocation, std::istream& in, std::ostream& out, std::ostream& err)
        : m_invocation(invocation),
          m_in(in),
          m_out(out),
          m_err(err),
          m_connection(invocation.dataFolder),
          m_query(m_connection) {}

    int run() {
        const std::string& command = m_invocation.command;
        const std::vector<std::string>& operands = m_invocation.operands;
        if (command == "pinyin" || command == "chars") return typedSearch(operands[0]);
        if (command == "radical") {
            return characterSearch(
                planRadicalSearch(radicalListIndex(operands[0]),
                                  parseNumber(operands[1], 0, kMostListedStrokes, "REMAINING")));
        }
        if (command == "strokes") {
            return characterSearch(
                planStrokeSearch(parseNumber(operands[0], 1, kMostListedStrokes, "N") - 1));
        }
        if (command == "combined") return combinedSearch();
        if (command == "idiom") return idiomSearch(operands[0]);
        if (command == "show") return showCharacter(parseNumber(operands[0], 1, INT32_MAX, "N"));
        if (command == "show-idiom") return showIdiom(parseNumber(operands[0], 1, INT32_MAX, "N"));
        if (command == "handwriting") return recogniseHandwriting();
        throw std::logic_error("unknown command " + command);
    }

  private:
    int refuse(const Refusal& refusal) {
        m_err << toTerminal(refusal.message) << '\n';
        return kExitRefused;
    }

    int typedSearch(const std::string& utf8Text) {
        const std::string typed = toGbk(utf8Text, "the text");
        // The window takes both from one edit and tells them apart; here the
        // command says which is meant, so check it.
        const std::string trimmed = trimControl(typed);
        if (!trimmed.empty()) {
            const bool looksLikePinyin = isPinyinPrefix(trimmed);
            if (m_invocation.command == "pinyin" && !looksLikePinyin) {
                throw UsageFailure(
                    "pinyin: PREFIX must be pinyin: letters with or without tone marks and an "
                    "optional tone digit 1-5, or text beginning with a-z "
                    "(use \"chars\" to look up characters)");
            }
            if (m_invocation.command == "chars" && looksLikePinyin) {
                throw UsageFailure(
                    "chars: TEXT must not be pinyin or begin with a lower-case letter "
                    "(use \"pinyin\" for a pinyin prefix)");
            }
        }
        return characterSearch(planTypedSearch(typed, [this](const PinyinSpelling& spelling) {
            return makeToneFilter(m_query, spelling);
        }));
    }

    int combinedSearch() {
        CombinedControls controls;
        const Invocation& in = m_invocation;
        if (!in.letter.empty()) {
            if (in.letter.size() != 1 || in.letter[0] < 'a' || in.letter[0] > 'z') {
                throw UsageFailure("--letter takes one lower-case letter a-z");
            }
            controls.letterIndex = in.letter[0] - 'a' + 1;
        }
        if (!in.radical.empty()) controls.radicalIndex = radicalListIndex(in.radical) + 1;
        if (!in.minStrokes.empty()) {
            controls.minStrokesIndex =
                parseNumber(in.minStrokes, 1, kMostListedStrokes, "--min-strokes");
        }
        if (!in.range.empty()) controls.meaningRangeIndex = parseNumber(in.range, 1, 2, "--range");
        if (!in.keywords.empty() && in.range.empty()) {
            throw UsageFailure("--keywords needs --range 1 (brief) or 2 (brief or detailed)");
        }
        controls.keywordsText = toGbk(in.keywords, "the keywords");

        const MeaningFilterFactory meaningFilters = [this](const std::vector<std::string>& keywords,
                                                           int range) {
            return makeMeaningFilter(m_query, keywords, range);
        };
        return characterSearch(planCombinedSearch(controls, meaningFilters));
    }

    int characterSearch(const CharacterSearchPlan& plan) {
        if (const auto* refusal = std::get_if<Refusal>(&plan)) return refuse(*refusal);
        const CharacterSearch& search = std::get<CharacterSearch>(plan);
        if (!search.notice.empty()) m_err << toTerminal(search.notice) << '\n';

        IndexFile file = openXinHuaIndex(m_invocation.dataFolder);
        // The readings of every record the filter passes, to print beside the
        // hits; the scan decides which of them become hits.
        std::vector<std::pair<std::int32_t, std::string>> passed;
        const CharacterFilter filter = [&](std::int32_t n, const XinHuaRecord& record) {
            if (!search.filter(n, record)) return false;
            passed.emplace_back(n, std::string(record.pinyin()));
            return true;
        };
        FoundList VecXinHua;
        ScanOutcome outcome;
        {
            std::optional<DatabaseUse> databaseUse;
            if (search.usesDatabase)
                databaseUse.emplace(m_connection, m_query, DictionaryDatabase::XinHua);
            outcome = scanXinHua(file, filter, {}, VecXinHua);
        }
        if (outcome.end == ScanEnd::Failed) throw IndexFailure(outcome.error->describe());

        // One opening of the database for every entry shown.
        std::optional<DatabaseUse> entries;
        if (m_invocation.showEntries)
            entries.emplace(m_connection, m_query, DictionaryDatabase::XinHua);
        Json hits = Json::array();
        std::size_t p = 0;
        for (const FoundEntry& found : VecXinHua) {
            const std::int32_t n = found.record;
            while (p < passed.size() && passed[p].first < n) ++p;
            const std::string& readings = p < passed.size() ? passed[p].second : std::string();
            const std::string character = toTerminal(found.text);
            if (!m_invocation.json) {
                m_out << n << '\t' << character << '\t' << readings << '\n';
                if (m_invocation.showEntries)
                    m_out << toTerminal(
                        formatCharacterEntry(characterEntry(n).value_or(CharacterEntry{})));
                continue;
            }
            Json hit = {
                {"number", n}, {"character", character}, {"readings", readingList(readings)}};
            if (m_invocation.showEntries) {
                const std::optional<CharacterEntry> entry = characterEntry(n);
                hit["entry"] = entry ? characterJson(n, *entry) : Json();
            }
            hits.push_back(std::move(hit));
        }
        if (m_invocation.json)
            return printJson({{"count", VecXinHua.size()}, {"characters", hits}});
        m_out << toTerminal(charactersFoundMessage(VecXinHua.size())) << '\n';
        return kExitSuccess;
    }

    int idiomSearch(const std::string& utf8Input) {
        IndexFile file = openChengYuIndex(m_invocation.dataFolder);
        const IdiomSearchPlan plan =
            planIdiomSearch(toGbk(utf8Input, "the idiom"), [&](std::string_view text) {
                return simplifyForIdiomIndex(text, file, m_toSimplified);
            });
        if (const auto* refusal = std::get_if<Refusal>(&plan)) return refuse(*refusal);

        FoundList VecChengYu;
        const ScanOutcome outcome = scanChengYu(file, std::get<std::string>(plan), {}, VecChengYu);
        if (outcome.end == ScanEnd::Failed) throw IndexFailure(outcome.error->describe());

        const DatabaseUse databaseUse(m_connection, m_query, DictionaryDatabase::ChengYu);
        Json hits = Json::array();
        for (const FoundEntry& found : VecChengYu) {
            const std::int32_t n = found.record;
            m_query.lookUp(n);
            const std::string pinyin = toTerminal(m_query.text(chengyu_table::kPinYin));
            if (!m_invocation.json) {
                m_out << n << '\t' << toTerminal(found.text) << '\t' << pinyin << '\n';
                if (m_invocation.showEntries)
                    m_out << toTerminal(formatIdiomEntry(readIdiomEntry(m_query)));
                continue;
            }
            Json hit = {{"number", n}, {"idiom", toTerminal(found.text)}, {"pinyin", pinyin}};
            if (m_invocation.showEntries) {
                hit["entry"] = m_query.hasRow() ? idiomJson(n, readIdiomEntry(m_query)) : Json();
            }
            hits.push_back(std::move(hit));
        }
        if (m_invocation.json) return printJson({{"count", VecChengYu.size()}, {"idioms", hits}});
        m_out << toTerminal(idiomsFoundMessage(VecChengYu.size())) << '\n';
        return kExitSuccess;
    }

    // Row n of xhzd, with the character database in use; nothing when there
    // is none.
    std::optional<CharacterEntry> characterEntry(std::int32_t n) {
        m_query.lookUp(n);
        if (!m_query.hasRow()) return std::nullopt;
        return readCharacterEntry(m_query);
    }

    int showCharacter(std::int32_t n) {
        const DatabaseUse databaseUse(m_connection, m_query, DictionaryDatabase::XinHua);
        const std::optional<CharacterEntry> entry = characterEntry(n);
        if (!entry) throw NoSuchRecord("character", n, m_connection.selectedFile());
        if (m_invocation.json) {
            Json json = characterJson(n, *entry);
            if (const auto strokes = strokesOf(entry->zi)) {
                Json paths = Json::array();
                for (const std::string& outline : strokes->outlines) paths.push_back(outline);
                json["strokePaths"] = std::move(paths);
            }
            return printJson(json);
        }
        m_out << toTerminal(formatCharacterEntry(*entry));
        return kExitSuccess;
    }

    // The character's outlines; nothing when there is no Strokes.db or it
    // lacks the character. A damaged file is an error.
    std::optional<handwriting::CharacterStrokes> strokesOf(const std::string& gbkCharacter) {
        const auto file = m_invocation.dataFolder / handwriting::kStrokeDataFileName;
        std::error_code ignored;
        if (!std::filesystem::exists(file, ignored)) return std::nullopt;
        try {
            return handwriting::StrokeDatabase(file).lookUp(gbkCharacter);
        } catch (const handwriting::StrokeDataError& error) {
            throw StrokeDataFailure(std::string("stroke data: ") + error.what());
        }
    }

    int recogniseHandwriting() {
        const int count = m_invocation.top.empty()
                              ? kDefaultCandidates
                              : parseNumber(m_invocation.top, 1, kMostCandidates, "--top");
        std::optional<handwriting::Recogniser> recogniser;
        try {
            recogniser.emplace(handwriting::loadRecogniser(m_invocation.dataFolder));
        } catch (const handwriting::StrokeDataError& error) {
            throw StrokeDataFailure(
                std::string("handwriting needs the stroke data, which cannot be read: ") +
                error.what());
        }
        std::string line;
        for (std::size_t number = 1; std::getline(m_in, line); ++number) {
            const handwriting::Ink ink = parseInkLine(line, number);
            const std::vector<std::string> candidates =
                recogniser->recognise(ink, static_cast<std::size_t>(count));
            if (m_invocation.json) {
                Json list = Json::array();
                for (const std::string& candidate : candidates)
                    list.push_back(toTerminal(candidate));
                m_out << list.dump() << '\n';
            } else {
                std::string text;
                for (const std::string& candidate : candidates)
                    text += (text.empty() ? "" : " ") + toTerminal(candidate);
                m_out << text << '\n';
            }
            // Each answer is out before the next line is read, for a
            // program that writes one character and waits.
            m_out.flush();
        }
        return kExitSuccess;
    }

    int showIdiom(std::int32_t n) {
        const DatabaseUse databaseUse(m_connection, m_query, DictionaryDatabase::ChengYu);
        m_query.lookUp(n);
        if (!m_query.hasRow()) throw NoSuchRecord("idiom", n, m_connection.selectedFile());
        const IdiomEntry entry = readIdiomEntry(m_query);
        if (m_invocation.json) return printJson(idiomJson(n, entry));
        m_out << toTerminal(formatIdiomEntry(entry));
        return kExitSuccess;
    }

    int printJson(const Json& document) {
        m_out << document.dump(2) << '\n';
        return kExitSuccess;
    }

    const Invocation& m_invocation;
    std::istream& m_in;
    std::ostream& m_out;
    std::ostream& m_err;
    Connection m_connection;
    Query m_query;
    TraditionalToSimplified m_toSimplified;
};

// history and words: the lists the window keeps, read from the file the
// window writes; a missing file is no history yet.
int printLookupList(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    const std::filesystem::path file =
        userFilesFolder(invocation.dataFolder, systemSettingsPlaces()) / kLookupsFile;
    LookupStore store(file, StoreAccess::ReadOnly);
    const bool isHistory = invocation.command == "history";
    const std::vector<LookedUpEntry> entries = isHistory ? store.history() : store.words();
    if (const std::optional<StoreError> error = store.takeError()) {
        err << "lexomir-cli: cannot read the lookups file: " << error->describe() << "\n";
        return kExitFailure;
    }
    Json list = Json::array();
    for (const LookedUpEntry& entry : entries) {
        const std::string_view kind = entry.kind == EntryKind::Character ? "character" : "idiom";
        const std::string text = toTerminal(entry.text);
        const std::string pinyin = toTerminal(entry.reading);
        const std::string brief = toTerminal(entry.brief);
        if (invocation.json) {
            list.push_back({{"kind", kind},
                            {"number", entry.record},
                            {"text", text},
                            {"pinyin", pinyin},
                            {"brief", brief}});
        } else {
            out << kind << '\t' << entry.record << '\t' << text << '\t' << pinyin << '\t' << brief
                << '\n';
        }
    }
    if (invocation.json) {
        const Json document = {{"file", file.string()},
                               {"count", entries.size()},
                               {isHistory ? "entries" : "words", list}};
        out << document.dump(2) << '\n';
    }
    return kExitSuccess;
}

// The options that take no value.
bool* flagField(Invocation& invocation, std::string_view name) {
    if (name == "--help") return &invocation.help;
    if (name == "--version") return &invocation.version;
    if (name == "--show") return &invocation.showEntries;
    if (name == "--json") return &invocation.json;
    return nullptr;
}

bool isCombinedOption(std::string_view name) {
    return name == "--letter" || name == "--radical" || name == "--min-strokes" ||
           name == "--keywords" || name == "--range";
}

std::string* combinedField(Invocation& invocation, std::string_view name) {
    if (name == "--letter") return &invocation.letter;
    if (name == "--radical") return &invocation.radical;
    if (name == "--min-strokes") return &invocation.minStrokes;
    if (name == "--keywords") return &invocation.keywords;
    return &invocation.range;
}

}  // namespace

std::variant<Invocation, UsageError> parseArguments(
    const std::vector<std::string>& args, const std::filesystem::path& defaultDataFolder) {
    Invocation invocation;
    invocation.dataFolder = defaultDataFolder;
    bool optionsEnded = false;
    std::vector<std::string> combinedGiven;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool isOption = !optionsEnded && arg.size() > 2 && arg.compare(0, 2, "--") == 0;
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!isOption && !optionsEnded && arg == "-h") {
            invocation.help = true;
            continue;
        }
        if (!isOption) {
            if (invocation.command.empty()) {
                invocation.command = arg;
            } else {
                invocation.operands.push_back(arg);
            }
            continue;
        }

        std::string name = arg;
        std::optional<std::string> value;
        if (const std::size_t eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        if (bool* flag = flagField(invocation, name)) {
            if (value) return UsageError{name + " takes no value"};
            *flag = true;
            continue;
        }
        if (name != "--data" && name != "--top" && !isCombinedOption(name)) {
            return UsageError{"unknown option " + name};
        }
        if (!value) {
            if (i + 1 >= args.size()) return UsageError{name + " needs a value"};
            value = args[++i];
        }
        if (name == "--data") {
            if (value->empty()) return UsageError{"--data needs a folder"};
            invocation.dataFolder = *value;
        } else if (name == "--top") {
            invocation.top = *value;
        } else {
            *combinedField(invocation, name) = *value;
            combinedGiven.push_back(name);
        }
    }

    if (invocation.help || invocation.version) return invocation;
    if (invocation.command.empty()) return UsageError{"no command given"};
    const CommandShape* shape = findCommand(invocation.command);
    if (shape == nullptr) return UsageError{"unknown command \"" + invocation.command + "\""};
    if (invocation.operands.size() != shape->operands) {
        return UsageError{invocation.command + " takes " + std::to_string(shape->operands) +
                          (shape->operands == 1 ? " argument" : " arguments") + ", not " +
                          std::to_string(invocation.operands.size())};
    }
    if (invocation.command != "combined" && !combinedGiven.empty()) {
        return UsageError{combinedGiven.front() + " belongs to the combined command"};
    }
    if (invocation.command != "handwriting" && !invocation.top.empty()) {
        return UsageError{"--top belongs to the handwriting command"};
    }
    if (isListCommand(invocation.command) && invocation.showEntries) {
        return UsageError{"--show belongs to the searches"};
    }
    return invocation;
}

int execute(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    std::istringstream noInput;
    return execute(invocation, noInput, out, err);
}

int execute(const Invocation& invocation, std::istream& in, std::ostream& out, std::ostream& err) {
    if (invocation.help) {
        out << helpText();
        return kExitSuccess;
    }
    if (invocation.version) {
        out << "lexomir-cli " << LEXOMIR_VERSION << '\n';
        return kExitSuccess;
    }
    try {
        if (isListCommand(invocation.command)) return printLookupList(invocation, out, err);
        Session session(invocation, in, out, err);
        return session.run();
    } catch (const UsageFailure& failure) {
        err << "lexomir-cli: " << failure.what() << "\n";
        return kExitRefused;
    } catch (const IndexFailure& failure) {
        err << "lexomir-cli: " << failure.what() << "\n";
        return kExitFailure;
    } catch (const StrokeDataFailure& failure) {
        err << "lexomir-cli: " << failure.what() << "\n";
        return kExitFailure;
    } catch (const DatabaseError& error) {
        err << "lexomir-cli: database error: " << error.what() << "\n";
        return kExitFailure;
    } catch (const std::exception& error) {
        err << "lexomir-cli: " << error.what() << "\n";
        return kExitFailure;
    }
}

int runCommandLine(const std::vector<std::string>& args,
                   const std::filesystem::path& defaultDataFolder, std::ostream& out,
                   std::ostream& err) {
    std::istringstream noInput;
    return runCommandLine(args, defaultDataFolder, noInput, out, err);
}

int runCommandLine(const std::vector<std::string>& args,
                   const std::filesystem::path& defaultDataFolder, std::istream& in,
                   std::ostream& out, std::ostream& err) {
    auto parsed = parseArguments(args, defaultDataFolder);
    if (const auto* usage = std::get_if<UsageError>(&parsed)) {
        err << "lexomir-cli: " << usage->message << "\n"
            << "Try 'lexomir-cli --help'.\n";
        return kExitRefused;
    }
    return execute(std::get<Invocation>(parsed), in, out, err);
}

std::string helpText() {
    return R"(Usage: lexomir-cli [--data DIR] [--show] [--json] COMMAND ARGUMENTS...
  or:  lexomir-cli --help | --version

Looks characters and idioms up in the Lexomir dictionary, the way the window
does. Input and output are UTF-8.

Character searches (over XinHua.dat):
  pinyin PREFIX       characters with a reading that begins with PREFIX, e.g.
                      "zh", "zhong"; written as people write pinyin too:
                      "Zhong", "lü", "lv", with a tone mark ("zhōng", "lǚ")
                      or a tone digit 1-5 after the letters ("zhong1",
                      "lv4"); a tone keeps the characters with a reading of
                      that tone that begins with the letters, 5 means any
  chars TEXT          the characters typed in TEXT, e.g. "中国"; each found
                      once, in dictionary order
  radical RADICAL REMAINING
                      characters with that radical (e.g. 氵, 口) and REMAINING
                      strokes besides it (0 = any number, up to 69); the
                      radical's stroke count is that of the first radical
                      table cell holding it
  strokes N           characters with exactly N strokes (1-69)
  combined [--letter L] [--radical R] [--min-strokes N]
           [--keywords "K1 K2 ..." --range 1|2]
                      all the given criteria together: a reading's initial
                      letter, the radical, at least N strokes, and any of
                      the blank-separated keywords in the brief explanation
                      (--range 1) or the brief or detailed one (--range 2);
                      with no criterion every character is found
Idiom search (over ChengYu.dat):
  idiom PATTERN       idioms beginning with PATTERN; "=" or "＝" stands for
                      any one character, e.g. "百战不=" or "爱"; traditional
                      characters find the simplified idiom ("百戰不殆")
Entries (from XinHua.db / ChengYu.db):
  show N              the full entry of character record N
  show-idiom N        the full entry of idiom record N
Handwriting (over Strokes.db):
  handwriting [--top N]
                      reads one handwritten character per input line, a JSON
                      array of strokes, each an array of [x, y] points in
                      screen coordinates (y grows downward, any scale and
                      offset), e.g. [[[10,50],[90,50]]] for 一; prints one
                      line per input: the N likeliest characters (default
                      10, at most 100), best first, separated by blanks

Lists the window keeps (from lookups.db, beside the window's set.ini):
  history             the entries the window showed, newest first (at most
                      500)
  words               the word list (生词本), in the order the entries were
                      added

Options:
  --show              after each hit, print its full entry as well
  --json              print one JSON document instead of lines (see below)
  --data DIR          the data folder (default: dat beside the executable)
  --help, -h          this text
  --version           the program's version

Output: one line per hit, tab-separated: the record number, the character
or idiom, and its readings (for a character the toneless readings of its
index record; for an idiom the tone-marked pinyin from ChengYu.db). Then the
count, e.g. "共找到 3 个汉字！" or "共找到 1 个成语！". history and words print
one line per entry: character or idiom, the record number, the character or
idiom itself, its tone-marked pinyin and a brief explanation, tab-separated;
nothing when the list is empty or the window has not kept one yet.
lookups.db lies in the data folder when the program's own folder keeps its
settings, else in ~/.config/lexomir/ (or $XDG_CONFIG_HOME/lexomir/).

JSON output (--json), UTF-8:
  character searches  {"count": N, "characters": [{"number": 1,
                      "character": "中", "readings": ["zhong"]}, ...]}, the
                      readings toneless as in the index
  idiom search        {"count": N, "idioms": [{"number": 2, "idiom":
                      "百战不殆", "pinyin": "bǎi zhàn bù dài"}, ...]}
  show N              {"number", "character", "readings" (tone-marked),
                      "radical", "strokes", "wubi", "brief", "detailed"};
                      brief and detailed are lists of lines; where known
                      also "strokeOrder" (the stroke names in order) and
                      "strokePaths" (each stroke's outline, an SVG path in a
                      1024 box with y up, in stroke order, from Strokes.db)
  handwriting         one JSON array of candidate characters per input line
  show-idiom N        {"number", "idiom", "pinyin", "explanation", "source",
                      "example"}
  history, words      {"file": the lookups.db read, "count": N, "entries"
                      (history) or "words": [{"kind": "character" or
                      "idiom", "number", "text", "pinyin", "brief"}, ...]}
With --show each hit also has "entry": the object show or show-idiom prints,
or null when the database has no row for it.

Exit status: 0 done (also when nothing is found); 1 an index file, database,
OpenCC's conversion file, lookups.db (damaged, locked, unreadable) or (for
handwriting, or a damaged one for show) the stroke data could not be read (the
message names it); 2 bad input, with the dictionary's own message (e.g.
"请输入！"), a usage error, a record number that show or show-idiom does not
find, or a malformed handwriting line (after the lines before it have been
answered), on stderr.
)";
}

}  // namespace lexomir::cli
