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
    kExitFailure = 1,  // an index file, database or OpenCC file could not be read
    kExitRefused = 2,  // bad input: usage error, the dictionary's own refusal or no such record
};

struct Invocation {
    std::filesystem::path dataFolder;
    bool showEntries = false;
    bool json = false;  // one JSON document instead of lines
    bool help = false;
    bool version = false;
    std::string command;
    std::vector<std::string> operands;  // UTF-8, in order
    // combined only; empty when not given
    std::string letter, radical, minStrokes, keywords, range;
    std::string top;  // handwriting only: how many candidates, empty for 10
};

struct UsageError {
    std::string message;
};

// args excludes the program name; defaultDataFolder is used without --data.
std::variant<Invocation, UsageError> parseArguments(const std::vector<std::string>& args,
                                                    const std::filesystem::path& defaultDataFolder);

// in is read by the commands that take input lines (handwriting).
int execute(const Invocation& invocation, std::istream& in, std::ostream& out, std::ostream& err);
int execute(const Invocation& invocation, std::ostream& out, std::ostream& err);

// parseArguments + execute, printing usage errors on err.
int runCommandLine(const std::vector<std::string>& args,
                   const std::filesystem::path& defaultDataFolder, std::istream& in,
                   std::ostream& out, std::ostream& err);
int runCommandLine(const std::vector<std::string>& args,
                   const std::filesystem::path& defaultDataFolder, std::ostream& out,
                   std::ostream& err);

std::string helpText();

}  // namespace lexomir::cli
