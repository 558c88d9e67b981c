// The product's name and home page, shown in captions and opened from the logo.
#pragma once

namespace lexomir {

inline constexpr const char* kApplicationTitle = "Lexomir";
inline constexpr const char* kMakerWebSite = "https://lexomir.example.org/";

}  // namespace lexomir
