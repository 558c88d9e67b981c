#include "traditional_chinese.h"

#include <opencc.h>

#include <utility>

#include "gbk_codec.h"
#include "idiom_search.h"

namespace lexomir {

struct TraditionalToSimplified::Converter {
    explicit Converter(opencc_t opened) : handle(opened) {}
    ~Converter() { opencc_close(handle); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    opencc_t handle;
};

TraditionalToSimplified::TraditionalToSimplified(std::filesystem::path configFile)
    : m_configFile(std::move(configFile)) {}

TraditionalToSimplified::~TraditionalToSimplified() = default;

std::filesystem::path TraditionalToSimplified::defaultConfigFile() {
    return LEXOMIR_OPENCC_T2S_CONFIG;
}

ScriptConversionError TraditionalToSimplified::failure() const {
    // OpenCC names the file it could not read, which need not be this one.
    std::string reason = opencc_error();
    if (reason.find(m_configFile.string()) == std::string::npos) {
        reason = m_configFile.string() + ": " + reason;
    }
    return ScriptConversionError(m_configFile, reason);
}

std::string TraditionalToSimplified::convert(std::string_view gbkText) {
    if (!m_converter) {
        const opencc_t opened = opencc_open(m_configFile.c_str());
        if (opened == reinterpret_cast<opencc_t>(-1)) throw failure();
        m_converter = std::make_unique<Converter>(opened);
    }
    const std::string utf8 = gbkToUtf8(gbkText);
    char* converted = opencc_convert_utf8(m_converter->handle, utf8.data(), utf8.size());
    if (converted == nullptr) throw failure();
    const std::unique_ptr<char, void (*)(char*)> owned(converted, opencc_convert_utf8_free);
    return utf8ToGbk(owned.get());
}

std::string simplifyForIdiomIndex(std::string_view trimmedText, IndexFile& idiomIndex,
                                  TraditionalToSimplified& converter) {
    GbkCharacterSet idiomCharacters;
    if (collectIdiomCharacters(idiomIndex, idiomCharacters).end != ScanEnd::Completed) {
        return std::string(trimmedText);
    }
    return simplifyUnknownCharacters(trimmedText, idiomCharacters, [&](std::string_view text) {
        return converter.convert(text);
    });
}

}  // namespace lexomir
