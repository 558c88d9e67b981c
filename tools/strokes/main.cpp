// lexomir-build-strokes: checks the table extract-strokes.mjs wrote and
// writes Strokes.db.
#include <exception>
#include <fstream>
#include <iostream>
#include <string>

#include "strokes_builder.h"

int main(int argc, char** argv) {
    using namespace lexomir::strokes;
    if (argc != 5 || std::string(argv[1]) != "--input" || std::string(argv[3]) != "--out") {
        std::cerr << "usage: lexomir-build-strokes --input strokes.tsv --out Strokes.db\n";
        return 2;
    }
    try {
        std::ifstream in(argv[2]);
        if (!in) throw BuildError(std::string("cannot open ") + argv[2]);
        const StrokeTable table = readStrokeTable(in);
        writeStrokesDb(table, argv[4]);
        std::cout << "Strokes: " << table.rows.size() << " characters from " << table.source
                  << ", wrote " << argv[4] << "\n";
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "lexomir-build-strokes: " << error.what() << "\n";
        return 1;
    }
}
