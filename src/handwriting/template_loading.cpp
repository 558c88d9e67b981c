#include "template_loading.h"

#include <algorithm>
#include <unordered_map>

#include "index_file.h"
#include "index_record_format.h"
#include "stroke_database.h"
#include "stroke_tables.h"

namespace lexomir::handwriting {

std::vector<std::string> readDictionaryCharacters(const std::filesystem::path& dataFolder) {
    IndexFile index = openXinHuaIndex(dataFolder);
    if (const auto error = index.rewind()) throw StrokeDataError(error->describe());
    std::vector<std::string> characters;
    characters.reserve(static_cast<std::size_t>(index.recordCount()));
    for (const char* record = index.nextRecord(); record; record = index.nextRecord())
        characters.emplace_back(record + xinhua_record::kCharacterOffset, 2);
    if (static_cast<std::int32_t>(characters.size()) != index.recordCount() && index.error())
        throw StrokeDataError(index.error()->describe());
    return characters;
}

Recogniser loadRecogniser(const std::filesystem::path& dataFolder) {
    const StrokeDatabase database(dataFolder / kStrokeDataFileName);
    const std::vector<std::string> characters = readDictionaryCharacters(dataFolder);
    std::unordered_map<std::string, std::size_t> recordOf;
    for (std::size_t i = 0; i < characters.size(); ++i) recordOf.emplace(characters[i], i);
    std::vector<CharacterTemplate> templates =
        database.readTemplates([&](const std::string& gbk) { return recordOf.contains(gbk); });
    // Record order puts common characters first, so they win ties.
    std::sort(templates.begin(), templates.end(), [&](const auto& a, const auto& b) {
        return recordOf.at(a.character) < recordOf.at(b.character);
    });
    return Recogniser(std::move(templates));
}

}  // namespace lexomir::handwriting
