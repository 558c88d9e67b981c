// lexomir-cli: the dictionary's searches and entries on the terminal. Takes
// and prints UTF-8; everything between is the core's GBK.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <variant>
#include <vector>

namespace lexomir::cli {

enum ExitStatus : int {
    kExitSuccess = 0,
    kExitFailure = 1,  // an index file or database could not be read
    kExitRefused = 2,  // bad input: usage error or the dictionary's own refusal
};

struct Invocation {
    std::filesystem::path dataFolder;
    bool showEntries = false;
    bool help = false;
    std::string command;
    std::vector<std::string> operands;  // UTF-8, in order
    // combined only; empty when not given
    std::string letter, radical, minStrokes, keywords, range;
};

struct UsageError {
    std::string message;
};

// args excludes the program name; defaultDataFolder is used without --data.
std::variant<Invocation, UsageError> parseArguments(const std::vector<std::string>& args,
                                                    const std::filesystem::path& defaultDataFolder);

int execute(const Invocation& invocation, std::ostream& out, std::ostream& err);

// parseArguments + execute, printing usage errors on err.
int runCommandLine(const std::vector<std::string>& args,
                   const std::filesystem::path& defaultDataFolder, std::ostream& out,
                   std::ostream& err);

std::string helpText();

}  // namespace lexomir::cli
