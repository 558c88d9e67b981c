// The product's name and home page, shown in captions and opened from the logo,
// and the id its desktop entry, metainfo and icons are installed under.
#pragma once

namespace lexomir {

inline constexpr const char* kApplicationTitle = "Lexomir";
inline constexpr const char* kMakerWebSite = "https://lexomir.example.org/";
inline constexpr const char* kApplicationId = LEXOMIR_APPLICATION_ID;  // set by the build

}  // namespace lexomir
