// The idiom pattern ("=" for a forgotten character) and the pass over
// ChengYu.dat.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "found_list.h"
#include "gbk_text.h"
#include "record_scan.h"

namespace lexomir {

// Every "=", and every full-width "＝" at a character boundary, becomes "★"
// (GBK A1 EF); an odd length gets one trailing blank.
std::string buildIdiomPattern(std::string_view trimmedInput);

// The pattern, in 2-byte units, against the beginning of the idiom; a "★"
// unit matches any unit. A pattern longer than the idiom never matches.
bool idiomMatches(std::string_view idiomText, std::string_view pattern);

// Empties the list, rewinds, reads recordCount() records; each match is
// appended with its idiom.
ScanOutcome scanChengYu(IndexFile& file, std::string_view pattern, const ScanHook& beforeRecord,
                        FoundList& VecChengYu);

// Adds the characters of every idiom in the file; the outcome tells whether
// the file was read to its end.
ScanOutcome collectIdiomCharacters(IndexFile& file, GbkCharacterSet& idiomCharacters);

// The simplified form of a GBK text (as a conversion from traditional
// characters gives it); may throw.
using SimplifiedForm = std::function<std::string(std::string_view text)>;

// Text typed in traditional characters, brought to the idioms' simplified
// ones: only a character that no idiom holds changes, so a valid simplified
// character that also has a traditional use (乾 of 乾坤) stays. It takes its
// form from the whole text's conversion, which reads phrases in context, or,
// when that has a different number of characters, from its own. simplified
// is not called when nothing is to change.
std::string simplifyUnknownCharacters(std::string_view text, const GbkCharacterSet& idiomCharacters,
                                      const SimplifiedForm& simplified);

}  // namespace lexomir
