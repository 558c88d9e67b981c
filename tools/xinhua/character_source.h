// The normalised character table that extract-characters.mjs writes: one
// UTF-8 row per candidate character, tab-separated.
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "data_output.h"

namespace lexomir::xinhua {

using data::BuildError;

struct Reading {
    std::string marked;  // "zhōng"
    std::string plain;   // "zhong", ü written v
    int tone = 5;        // 1-4, 5 for the neutral tone
};

// A radical the kRSUnicode rule proposes, with where that form came from.
struct RadicalCandidate {
    std::string source;  // self, kangxi, simplified, positional or nearest
    std::string form;    // UTF-8
};

struct CharacterSource {
    int line = 0;  // in the table, for messages
    std::string zi;
    std::vector<Reading> readings;  // main reading first
    int strokes = 0;
    std::string modernRadical;  // cnchar-radical's answer, may be empty
    std::vector<RadicalCandidate> kangxiCandidates;
    int level = 0;          // in the 2013 common list: 1-3, else 0
    bool required = false;  // listed, so it must be kept
    long rarity = 0;        // 1 = rarest
    std::string wubi;
    std::string jijie;
    std::string xiangjie;
    std::vector<std::string> variants;  // semantic and Z variants, UTF-8
};

// Throws BuildError naming the line when a row is malformed.
std::vector<CharacterSource> readCharacterTable(std::istream& in);
CharacterSource parseCharacterRow(const std::string& row, int line);

}  // namespace lexomir::xinhua
