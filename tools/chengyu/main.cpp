// lexomir-build-chengyu --table FILE --dat FILE --db FILE [--expected-count N]
#include <charconv>
#include <iostream>
#include <optional>

#include "chengyu_builder.h"
#include "index_record_format.h"

namespace {

struct Options {
    std::filesystem::path table, dat, db;
    std::int32_t expectedCount = lexomir::chengyu_record::kRecordCount;
};

constexpr const char* kUsage =
    "usage: lexomir-build-chengyu --table FILE --dat FILE --db FILE [--expected-count N]\n"
    "Writes ChengYu.dat and ChengYu.db from the table of extract-idioms.mjs;\n"
    "refuses (exit 1) when any row breaks a rule of the data set.\n";

std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        if (i + 1 >= argc) return std::nullopt;
        const std::string_view value = argv[++i];
        if (name == "--table") {
            options.table = value;
        } else if (name == "--dat") {
            options.dat = value;
        } else if (name == "--db") {
            options.db = value;
        } else if (name == "--expected-count") {
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), options.expectedCount);
            if (error != std::errc() || end != value.data() + value.size() ||
                options.expectedCount <= 0) {
                return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
    if (options.table.empty() || options.dat.empty() || options.db.empty()) return std::nullopt;
    return options;
}

void printSummary(const lexomir::chengyu::IdiomTable& table,
                  const lexomir::chengyu::ValidatedIdioms& idioms, const Options& options) {
    std::size_t withSource = 0, withExample = 0, fourCharacters = 0;
    for (const auto& row : idioms.rows) {
        withSource += row.chuChu.empty() ? 0 : 1;
        withExample += row.liZi.empty() ? 0 : 1;
        fourCharacters += lexomir::chengyu::chineseCharacterCount(row.chengYu) == 4 ? 1 : 0;
    }
    std::cout << "lexomir-build-chengyu: " << idioms.rows.size() << " idioms\n";
    for (const auto& note : table.notes) std::cout << "  " << note << '\n';
    std::cout << "  records written\t" << idioms.rows.size() << " (" << options.dat.string()
              << ")\n"
              << "  rows written\t" << idioms.rows.size() << " (" << options.db.string() << ")\n"
              << "  of four characters\t" << fourCharacters << '\n'
              << "  with a source (ChuChu)\t" << withSource << '\n'
              << "  with an example (LiZi)\t" << withExample << '\n'
              << "  first / last record\t" << idioms.rows.front().chengYu << " / "
              << idioms.rows.back().chengYu << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--help") {
        std::cout << kUsage;
        return 0;
    }
    const auto options = parseOptions(argc, argv);
    if (!options) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        const auto table = lexomir::chengyu::readIdiomTable(options->table);
        const auto idioms = lexomir::chengyu::validateIdioms(table.rows, options->expectedCount);
        lexomir::chengyu::writeChengYuDat(options->dat, idioms.gbkIdioms);
        lexomir::chengyu::writeChengYuDb(options->db, idioms.rows);
        printSummary(table, idioms, *options);
    } catch (const std::exception& error) {
        std::cerr << "lexomir-build-chengyu: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
