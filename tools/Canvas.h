// A picture to draw the demo scenes on, in the layout the frame encoder takes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/FrameEncoder.h"

namespace filmwriter {

// A picture of 32 bits per pixel (blue, green, red, 0), top-down rows, no padding.
class TCanvas {
 public:
  TCanvas(int32_t width, int32_t height);

  // Drawing is clipped to the picture; colours are 0xRRGGBB.
  void Fill(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rgb);
  void Outline(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rgb);
  // Vertical gradient from top colour to bottom colour.
  void Gradient(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t top, uint32_t bottom);
  // Text in the built-in font; the top-left of the first character at (x, y). '\n' starts a new line.
  void Text(int32_t x, int32_t y, const std::string& text, uint32_t rgb);

  uint32_t At(int32_t x, int32_t y) const;  // 0xRRGGBB
  TPixels Pixels() const { return {FBytes.data(), FWidth, FHeight, 32, FWidth * 4}; }
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }

 private:
  void Put(int32_t x, int32_t y, uint32_t rgb);
  int32_t FWidth, FHeight;
  std::vector<uint8_t> FBytes;
};

}  // namespace filmwriter
