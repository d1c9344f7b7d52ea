// Where the picture sits in the main window's client area, and whether it is
// stretched to fit.
#pragma once

#include <cstdint>

struct TPictureLayout {
  int32_t PictureLeft = 0, PictureTop = 0;
  int32_t FilmWidth = 0, FilmHeight = 0;
  bool Scaled = false;
  int32_t ScaledWidth = 0, ScaledHeight = 0;
  float Scale = 1.0f;
  int32_t ScreenWidth = 0, ScreenHeight = 0;
};

extern TPictureLayout Layout;

struct TWindowRect {
  int32_t X, Y, Width, Height;
};

// The window rectangle that shows the picture rectangle (x, y, w, h): shifted by
// the picture's corner and, when scaled, multiplied by the scale with each value
// rounded to the nearest integer, halves to even.
TWindowRect PictureToWindow(const TPictureLayout& layout, int32_t x, int32_t y, int32_t w, int32_t h);
