// The idiom pattern ("=" for a forgotten character) and the pass over
// ChengYu.dat.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "record_scan.h"

namespace lexomir {

// Every "=" becomes "★" (GBK A1 EF); an odd length gets one trailing blank.
std::string buildIdiomPattern(std::string_view trimmedInput);

// The pattern, in 2-byte units, against the beginning of the idiom; a "★"
// unit matches any unit. A pattern longer than the idiom never matches.
bool idiomMatches(std::string_view idiomText, std::string_view pattern);

// Empties both lists, rewinds, reads recordCount() records; each match
// appends its record number to VecChengYu and its text to foundIdioms.
ScanOutcome scanChengYu(IndexFile& file, std::string_view pattern, const ScanHook& beforeRecord,
                        std::vector<std::int32_t>& VecChengYu,
                        std::vector<std::string>& foundIdioms);

}  // namespace lexomir
