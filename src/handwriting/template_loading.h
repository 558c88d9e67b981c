// The recogniser's templates for a data folder: the centre lines of
// Strokes.db, limited to the characters XinHua.dat holds, so that every
// candidate can be looked up.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "recogniser.h"

namespace lexomir::handwriting {

// The characters of XinHua.dat in record order (GBK); throws
// StrokeDataError when the index cannot be read whole.
std::vector<std::string> readDictionaryCharacters(const std::filesystem::path& dataFolder);

// Throws StrokeDataError when either file is missing or damaged.
Recogniser loadRecogniser(const std::filesystem::path& dataFolder);

}  // namespace lexomir::handwriting
