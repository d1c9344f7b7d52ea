#include "tools/Canvas.h"

#include <algorithm>

#include "foundation/Exception.h"
#include "tools/BitmapFont.h"

namespace filmwriter {

TCanvas::TCanvas(int32_t width, int32_t height) : FWidth(width), FHeight(height) {
  if (width <= 0 || height <= 0) throw Exception("Canvas size must be positive");
  FBytes.assign(static_cast<size_t>(width) * height * 4, 0);
}

void TCanvas::Put(int32_t x, int32_t y, uint32_t rgb) {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
  uint8_t* p = &FBytes[(static_cast<size_t>(y) * FWidth + x) * 4];
  p[0] = static_cast<uint8_t>(rgb);
  p[1] = static_cast<uint8_t>(rgb >> 8);
  p[2] = static_cast<uint8_t>(rgb >> 16);
}

uint32_t TCanvas::At(int32_t x, int32_t y) const {
  const uint8_t* p = &FBytes[(static_cast<size_t>(y) * FWidth + x) * 4];
  return static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16));
}

void TCanvas::Fill(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rgb) {
  const int32_t left = std::max(x, 0), right = std::min(x + width, FWidth);
  const int32_t top = std::max(y, 0), bottom = std::min(y + height, FHeight);
  for (int32_t row = top; row < bottom; ++row)
    for (int32_t col = left; col < right; ++col) Put(col, row, rgb);
}

void TCanvas::Outline(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rgb) {
  Fill(x, y, width, 1, rgb);
  Fill(x, y + height - 1, width, 1, rgb);
  Fill(x, y, 1, height, rgb);
  Fill(x + width - 1, y, 1, height, rgb);
}

void TCanvas::Gradient(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t top, uint32_t bottom) {
  for (int32_t row = 0; row < height; ++row) {
    uint32_t rgb = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      const int32_t a = (top >> shift) & 0xFF, b = (bottom >> shift) & 0xFF;
      rgb |= static_cast<uint32_t>(a + (b - a) * row / std::max(height - 1, 1)) << shift;
    }
    Fill(x, y + row, width, 1, rgb);
  }
}

void TCanvas::Text(int32_t x, int32_t y, const std::string& text, uint32_t rgb) {
  int32_t penX = x;
  for (char c : text) {
    if (c == '\n') {
      penX = x;
      y += kLineAdvance;
      continue;
    }
    const uint8_t* columns = GlyphColumns(c);
    for (int32_t col = 0; col < kGlyphWidth; ++col)
      for (int32_t row = 0; row < kGlyphHeight; ++row)
        if (columns[col] & (1 << row)) Put(penX + col, y + row, rgb);
    penX += kCharAdvance;
  }
}

}  // namespace filmwriter
