// lexomir-build-strokes: checks the table extract-strokes.mjs wrote and
// writes Strokes.db with the characters the dictionary in DIR holds.
#include <exception>
#include <fstream>
#include <iostream>
#include <string>

#include "strokes_builder.h"

int main(int argc, char** argv) {
    using namespace lexomir::strokes;
    if (argc != 7 || std::string(argv[1]) != "--input" || std::string(argv[3]) != "--dictionary" ||
        std::string(argv[5]) != "--out") {
        std::cerr << "usage: lexomir-build-strokes --input strokes.tsv --dictionary DIR "
                     "--out Strokes.db\n"
                     "  DIR holds the XinHua.dat whose characters are kept\n";
        return 2;
    }
    try {
        std::ifstream in(argv[2]);
        if (!in) throw BuildError(std::string("cannot open ") + argv[2]);
        const StrokeTable read = readStrokeTable(in);
        const StrokeTable table = keepingOnly(read, dictionaryCharacters(argv[4]));
        writeStrokesDb(table, argv[6]);
        std::cout << "Strokes: " << table.rows.size() << " of the " << read.rows.size()
                  << " characters of " << table.source << " are in the dictionary, wrote "
                  << argv[6] << "\n";
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "lexomir-build-strokes: " << error.what() << "\n";
        return 1;
    }
}
