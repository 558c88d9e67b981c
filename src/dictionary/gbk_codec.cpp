#include "gbk_codec.h"

#include <iconv.h>

#include <cerrno>
#include <string>

namespace lexomir {
namespace {

class Converter {
  public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
        if (m_cd == reinterpret_cast<iconv_t>(-1)) {
            throw TextConversionError(std::string("iconv cannot convert from ") + from + " to " +
                                      to);
        }
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string convert(std::string_view input, const char* what) {
        std::string output;
        output.resize(input.size() * 2 + 8);
        // iconv takes a non-const input pointer but never writes through it.
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        std::size_t produced = 0;
        while (inLeft > 0) {
            char* out = output.data() + produced;
            std::size_t outLeft = output.size() - produced;
            const std::size_t rc = iconv(m_cd, &in, &inLeft, &out, &outLeft);
            produced = output.size() - outLeft;
            if (rc != static_cast<std::size_t>(-1)) break;
            if (errno == E2BIG) {
                output.resize(output.size() * 2);
                continue;
            }
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
            throw TextConversionError(std::string("invalid ") + what + " text at byte " +
                                      std::to_string(input.size() - inLeft));
        }
        output.resize(produced);
        return output;
    }

  private:
    iconv_t m_cd;
};

}  // namespace

std::string utf8ToGbk(std::string_view utf8) {
    if (utf8.empty()) return {};
    // A converter per thread: iconv descriptors carry state.
    thread_local Converter converter("GB18030", "UTF-8");
    return converter.convert(utf8, "UTF-8");
}

std::string gbkToUtf8(std::string_view gbk) {
    if (gbk.empty()) return {};
    thread_local Converter converter("UTF-8", "GB18030");
    return converter.convert(gbk, "GBK");
}

}  // namespace lexomir
