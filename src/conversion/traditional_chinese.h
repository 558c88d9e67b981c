// Idiom text typed in traditional characters, through OpenCC's
// traditional-to-simplified conversion (Debian libopencc, its t2s.json).
#pragma once

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "index_file.h"

namespace lexomir {

// The conversion could not be loaded or failed; the message names the file.
class ScriptConversionError : public std::runtime_error {
  public:
    ScriptConversionError(std::filesystem::path configFile, std::string reason)
        : std::runtime_error("cannot convert traditional characters: " + reason),
          m_configFile(std::move(configFile)),
          m_reason(std::move(reason)) {}

    const std::filesystem::path& configFile() const { return m_configFile; }
    // OpenCC's own words, with the file it could not read.
    const std::string& reason() const { return m_reason; }

  private:
    std::filesystem::path m_configFile;
    std::string m_reason;
};

// One OpenCC converter, loaded at its first use and closed with the object.
class TraditionalToSimplified {
  public:
    explicit TraditionalToSimplified(std::filesystem::path configFile = defaultConfigFile());
    ~TraditionalToSimplified();
    TraditionalToSimplified(const TraditionalToSimplified&) = delete;
    TraditionalToSimplified& operator=(const TraditionalToSimplified&) = delete;

    static std::filesystem::path defaultConfigFile();

    // GBK in and out; throws ScriptConversionError.
    std::string convert(std::string_view gbkText);

  private:
    struct Converter;
    // OpenCC's last error, with the configuration file named.
    ScriptConversionError failure() const;

    std::filesystem::path m_configFile;
    std::unique_ptr<Converter> m_converter;
};

// The trimmed idiom text with each character that no idiom of the index
// holds in its simplified form. The index is read for its characters on
// every call; when it cannot be read whole the text stays as it is, and the
// search's own scan reports the file.
std::string simplifyForIdiomIndex(std::string_view trimmedText, IndexFile& idiomIndex,
                                  TraditionalToSimplified& converter);

}  // namespace lexomir
