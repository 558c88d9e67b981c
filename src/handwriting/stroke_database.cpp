#include "stroke_database.h"

#include <sqlite3.h>

#include <charconv>

#include "gbk_codec.h"
#include "stroke_tables.h"

namespace lexomir::handwriting {
namespace {

namespace fs = std::filesystem;

std::vector<std::string_view> splitStrokes(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(kStrokeSeparator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

float readCoordinate(std::string_view& text) {
    float value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data())
        throw StrokeDataError("a centre line holds something other than numbers");
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

Stroke parseCentreLine(std::string_view text) {
    Stroke stroke;
    while (!text.empty()) {
        const float x = readCoordinate(text);
        if (text.empty() || text.front() != ',')
            throw StrokeDataError("a centre line point lacks its y");
        text.remove_prefix(1);
        stroke.push_back({x, readCoordinate(text)});
        if (!text.empty()) {
            if (text.front() != ' ') throw StrokeDataError("centre line points run together");
            text.remove_prefix(1);
        }
    }
    if (stroke.empty()) throw StrokeDataError("a centre line is empty");
    return stroke;
}

std::string_view columnText(sqlite3_stmt* statement, int column) {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return bytes ? std::string_view(
                       bytes, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)))
                 : std::string_view();
}

}  // namespace

Ink parseCentreLines(std::string_view text) {
    Ink ink;
    for (const std::string_view part : splitStrokes(text)) ink.push_back(parseCentreLine(part));
    return ink;
}

std::vector<std::string> splitOutlines(std::string_view text) {
    std::vector<std::string> outlines;
    for (const std::string_view part : splitStrokes(text)) outlines.emplace_back(part);
    return outlines;
}

StrokeDatabase::StrokeDatabase(fs::path file) : m_file(std::move(file)) {
    std::error_code error;
    if (!fs::is_regular_file(m_file, error)) fail("the stroke data file is missing");
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(m_file.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    m_db.reset(raw);
    if (rc != SQLITE_OK) fail(raw ? sqlite3_errmsg(raw) : "cannot open");
    // Preparing a statement over every column reads the schema: a file that is
    // no database, or lacks the table or a column, fails here and not later.
    const std::string probe =
        "SELECT " + std::string(strokes_table::kZi) + ", " + std::string(strokes_table::kBihua) +
        ", " + std::string(strokes_table::kOutlines) + ", " + std::string(strokes_table::kMedians) +
        " FROM " + std::string(strokes_table::kName) + " LIMIT 0";
    sqlite3_stmt* statement = nullptr;
    const int prepared = sqlite3_prepare_v2(m_db.get(), probe.c_str(), -1, &statement, nullptr);
    const SqliteStatement owned(statement);
    if (prepared != SQLITE_OK) fail(sqlite3_errmsg(m_db.get()));
}

void StrokeDatabase::fail(const std::string& what) const {
    throw StrokeDataError(what + " (" + m_file.string() + ")");
}

std::optional<CharacterStrokes> StrokeDatabase::lookUp(std::string_view gbkCharacter) const {
    const std::string sql = "SELECT " + std::string(strokes_table::kOutlines) + ", " +
                            std::string(strokes_table::kMedians) + " FROM " +
                            std::string(strokes_table::kName) + " WHERE " +
                            std::string(strokes_table::kZi) + " = ?";
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(m_db.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
        fail(sqlite3_errmsg(m_db.get()));
    const SqliteStatement statement(raw);
    std::string utf8;
    try {
        utf8 = gbkToUtf8(gbkCharacter);
    } catch (const TextConversionError&) {
        return std::nullopt;
    }
    sqlite3_bind_text(raw, 1, utf8.data(), static_cast<int>(utf8.size()), SQLITE_STATIC);
    const int rc = sqlite3_step(raw);
    if (rc == SQLITE_DONE) return std::nullopt;
    if (rc != SQLITE_ROW) fail(sqlite3_errmsg(m_db.get()));
    CharacterStrokes strokes;
    try {
        strokes.outlines = splitOutlines(columnText(raw, 0));
        strokes.medians = parseCentreLines(columnText(raw, 1));
    } catch (const StrokeDataError& error) {
        fail(std::string(error.what()) + ", character " + utf8);
    }
    if (strokes.outlines.size() != strokes.medians.size())
        fail("outlines and centre lines of " + utf8 + " differ in number");
    return strokes;
}

std::vector<CharacterTemplate> StrokeDatabase::readTemplates(
    const std::function<bool(const std::string& gbkCharacter)>& wanted) const {
    const std::string sql = "SELECT " + std::string(strokes_table::kZi) + ", " +
                            std::string(strokes_table::kMedians) + " FROM " +
                            std::string(strokes_table::kName) + " ORDER BY " +
                            std::string(strokes_table::kZi);
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(m_db.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
        fail(sqlite3_errmsg(m_db.get()));
    const SqliteStatement statement(raw);
    std::vector<CharacterTemplate> templates;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        const std::string_view utf8 = columnText(raw, 0);
        std::string gbk;
        try {
            gbk = utf8ToGbk(utf8);
        } catch (const TextConversionError&) {
            fail("a character is not valid UTF-8");
        }
        if (!wanted(gbk)) continue;
        CharacterTemplate entry{std::move(gbk), {}};
        try {
            entry.strokes = parseCentreLines(columnText(raw, 1));
        } catch (const StrokeDataError& error) {
            fail(std::string(error.what()) + ", character " + std::string(utf8));
        }
        for (Stroke& stroke : entry.strokes)
            for (Point& point : stroke) point = glyphToScreen(point);
        templates.push_back(std::move(entry));
    }
    if (rc != SQLITE_DONE) fail(sqlite3_errmsg(m_db.get()));
    return templates;
}

std::string StrokeDatabase::notice() const {
    const std::string sql = "SELECT " + std::string(notice_table::kText) + " FROM " +
                            std::string(notice_table::kName) + " ORDER BY " +
                            std::string(notice_table::kId);
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(m_db.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
        fail(sqlite3_errmsg(m_db.get()));
    const SqliteStatement statement(raw);
    std::string text;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) text += std::string(columnText(raw, 0)) + "\n";
    if (rc != SQLITE_DONE) fail(sqlite3_errmsg(m_db.get()));
    return text;
}

}  // namespace lexomir::handwriting
