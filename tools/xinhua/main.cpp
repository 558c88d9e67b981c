// lexomir-build-xinhua: reads the table extract-characters.mjs wrote, checks
// every row against the index-file rules and writes XinHua.dat and XinHua.db.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "character_source.h"
#include "stroke_order.h"
#include "xinhua_builder.h"
#include "xinhua_files.h"

namespace {

namespace fs = std::filesystem;
using namespace lexomir::xinhua;

constexpr const char* kUsage =
    "usage: lexomir-build-xinhua --input characters.tsv --out-dir DIR\n"
    "                            [--records N] [--min-agreement PERCENT]\n"
    "                            [--stroke-order stroke-order.tsv]\n"
    "Writes DIR/XinHua.dat and DIR/XinHua.db. --records defaults to the index\n"
    "file's record count; --min-agreement (default 98.5) is the least share of\n"
    "characters whose kRSUnicode radical must equal cnchar-radical's;\n"
    "--stroke-order gives the entries their stroke names.\n";

struct Arguments {
    fs::path input;
    fs::path outDir;
    fs::path strokeOrder;
    BuildOptions options;
};

[[noreturn]] void usageError(const std::string& message) {
    std::cerr << "lexomir-build-xinhua: " << message << "\n" << kUsage;
    std::exit(2);
}

Arguments parseArguments(int argc, char** argv) {
    Arguments arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help") {
            std::cout << kUsage;
            std::exit(0);
        }
        if (i + 1 >= argc) usageError(name + " needs a value");
        const std::string value = argv[++i];
        try {
            if (name == "--input")
                arguments.input = value;
            else if (name == "--out-dir")
                arguments.outDir = value;
            else if (name == "--stroke-order")
                arguments.strokeOrder = value;
            else if (name == "--records")
                arguments.options.recordCount = std::stoi(value);
            else if (name == "--min-agreement")
                arguments.options.minimumAgreementPercent = std::stod(value);
            else
                usageError("unknown option " + name);
        } catch (const std::logic_error&) {
            usageError("bad value for " + name + ": " + value);
        }
    }
    if (arguments.input.empty() || arguments.outDir.empty())
        usageError("--input and --out-dir are required");
    if (arguments.options.recordCount < 1) usageError("--records must be at least 1");
    return arguments;
}

void printSummary(const BuildSummary& summary, std::size_t records, const fs::path& outDir) {
    std::printf(
        "XinHua: %zu records (%zu candidates, %zu rarest dropped, %zu from the 2013 list all "
        "kept)\n",
        records, summary.candidates, summary.dropped, summary.required);
    std::printf("radicals by source:");
    for (const auto& [source, count] : summary.radicalsBySource)
        std::printf(" %s %zu", source.c_str(), count);
    std::printf("\nreadings cut to fit the pinyin field: %zu (in %zu characters)\n",
                summary.readingsCut, summary.charactersWithReadingsCut);
    std::printf("kRSUnicode radicals agreeing with cnchar-radical: %zu of %zu (%.2f%%)\n",
                summary.kangxiAgrees, summary.modernCovered, summary.agreementPercent());
    std::string moved;
    for (const std::string& zi : summary.movedToOwnRadical) moved += zi;
    std::printf("radical forms moved under themselves: %zu (%s)\n",
                summary.movedToOwnRadical.size(), moved.c_str());
    std::printf("entries with an 异体字 line: %zu\n", summary.variantLines);
    std::printf("wrote %s and %s\n", (outDir / "XinHua.dat").c_str(),
                (outDir / "XinHua.db").c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const Arguments arguments = parseArguments(argc, argv);
    try {
        std::ifstream in(arguments.input);
        if (!in) throw BuildError("cannot open " + arguments.input.string());
        BuildResult result = buildXinHua(readCharacterTable(in), arguments.options);
        if (!arguments.strokeOrder.empty()) {
            std::ifstream order(arguments.strokeOrder);
            if (!order) throw BuildError("cannot open " + arguments.strokeOrder.string());
            const StrokeOrderSummary named =
                addStrokeOrder(result.entries, readStrokeOrderTable(order));
            std::printf("stroke names: %zu entries (%zu left out, their count differs)\n",
                        named.named, named.countDiffers);
        }
        fs::create_directories(arguments.outDir);
        writeXinHuaDat(result.entries, arguments.outDir / "XinHua.dat");
        writeXinHuaDb(result.entries, arguments.outDir / "XinHua.db");
        printSummary(result.summary, result.entries.size(), arguments.outDir);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "lexomir-build-xinhua: " << error.what() << "\n";
        return 1;
    }
}
