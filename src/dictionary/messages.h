// The system's own user messages, in UTF-8 source form; the search plans
// hand them out as GBK.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lexomir::messages {

// An index file or database the window cannot read, with the reason, in UTF-8.
inline std::string cannotRead(const std::filesystem::path& file, std::string_view reason) {
    return "无法读取 " + file.string() + "：" + std::string(reason);
}

// Traditional characters that cannot be converted, with OpenCC's reason, in UTF-8.
inline std::string cannotConvertTraditional(std::string_view reason) {
    return "无法转换繁体字：" + std::string(reason);
}

// lookups.db could not be used or written, with the reason, in UTF-8; told
// once a run. inMemory: the lists are kept for this run only.
inline std::string cannotKeepLookups(const std::filesystem::path& file, std::string_view reason,
                                     bool inMemory) {
    return "无法保存历史和生词本 " + file.string() + "：" + std::string(reason) +
           (inMemory ? "。本次运行的历史和生词本只记在内存里。" : "");
}

// The word list could not be exported to file, with the reason, in UTF-8.
inline std::string cannotExportWords(const std::filesystem::path& file, std::string_view reason) {
    return "无法导出生词本 " + file.string() + "：" + std::string(reason);
}

inline constexpr std::string_view kPleaseEnter = "请输入！";
inline constexpr std::string_view kChooseARadical = "必须选择一个笔画！";
inline constexpr std::string_view kKeywordsNeeded =
    "如果选择了字意查询，请输入包含的关键字，多个关键字用空格隔开！";
inline constexpr std::string_view kMeaningSearchIsSlow =
    "选择了字意查询，速度会比较慢，请耐心等待！";
inline constexpr std::string_view kEnterAnIdiom = "请输入成语，可以用“=”代替不知道的文字。";
inline constexpr const char* kCharactersFoundFormat = "共找到 %d 个汉字！";  // UTF-8
inline constexpr const char* kIdiomsFoundFormat = "共找到 %d 个成语！";      // UTF-8

}  // namespace lexomir::messages
