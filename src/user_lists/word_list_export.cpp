#include "word_list_export.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "gbk_codec.h"

namespace lexomir {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kCsvHeader = "词条,拼音,简释\r\n";

// A field on one line of the text format: no tab or line break inside.
std::string textField(std::string_view utf8) {
    std::string field(utf8);
    for (char& c : field) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    }
    return field;
}

std::string csvField(std::string_view utf8) {
    if (utf8.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(utf8);
    std::string field = "\"";
    for (char c : utf8) {
        if (c == '"') field += '"';
        field += c;
    }
    return field + '"';
}

std::string systemError(std::string_view what) {
    return std::string(what) + ": " + std::strerror(errno);
}

// Writes all of bytes to fd, retrying after signals.
bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

std::string formatWordList(const std::vector<LookedUpEntry>& words, WordListFormat format) {
    std::string out = format == WordListFormat::Csv
                          ? std::string(kByteOrderMark) + std::string(kCsvHeader)
                          : std::string();
    for (const LookedUpEntry& word : words) {
        const std::string fields[] = {gbkToUtf8(word.text), gbkToUtf8(word.reading),
                                      gbkToUtf8(word.brief)};
        if (format == WordListFormat::Csv) {
            out += csvField(fields[0]) + ',' + csvField(fields[1]) + ',' + csvField(fields[2]) +
                   "\r\n";
        } else {
            out += textField(fields[0]) + '\t' + textField(fields[1]) + '\t' +
                   textField(fields[2]) + '\n';
        }
    }
    return out;
}

std::optional<StoreError> exportWordList(const std::filesystem::path& file,
                                         const std::vector<LookedUpEntry>& words,
                                         WordListFormat format) noexcept {
    try {
        const std::string bytes = formatWordList(words, format);
        // One export at a time per file; the umask decides its mode, as for
        // any file the user makes.
        const std::string temporary = file.string() + ".part";
        const int fd =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0) return StoreError{file, systemError("cannot create a file beside it")};
        const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
        std::string reason = written ? "" : systemError("cannot write");
        if (::close(fd) != 0 && reason.empty()) reason = systemError("cannot write");
        if (reason.empty() && ::rename(temporary.c_str(), file.c_str()) != 0)
            reason = systemError("cannot replace");
        if (reason.empty()) return std::nullopt;
        ::unlink(temporary.c_str());
        return StoreError{file, reason};
    } catch (const TextConversionError&) {
        return StoreError{file, "text that GBK cannot hold"};
    } catch (const std::exception& failure) {
        return StoreError{file, failure.what()};
    }
}

}  // namespace lexomir
