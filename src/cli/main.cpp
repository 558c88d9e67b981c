#include <iostream>
#include <string>
#include <vector>

#include "cli_app.h"
#include "data_folder.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return lexomir::cli::runCommandLine(args, lexomir::defaultDataFolder(), std::cin, std::cout,
                                        std::cerr);
}
