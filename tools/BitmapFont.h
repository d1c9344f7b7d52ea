// A small built-in 5 x 7 pixel font for the demo scenes' window titles and text.
#pragma once

#include <cstdint>

namespace filmwriter {

constexpr int32_t kGlyphWidth = 5;
constexpr int32_t kGlyphHeight = 7;
constexpr int32_t kCharAdvance = 6;  // one empty column between characters
constexpr int32_t kLineAdvance = 10;

// The five columns of a character, bit 0 the top row; characters outside
// 32 to 126 give the glyph of '?'.
const uint8_t* GlyphColumns(char c);

}  // namespace filmwriter
