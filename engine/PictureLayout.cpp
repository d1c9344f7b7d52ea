#include "engine/PictureLayout.h"

#include <cmath>

TPictureLayout Layout;

TWindowRect PictureToWindow(const TPictureLayout& l, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (!l.Scaled) return {l.PictureLeft + x, l.PictureTop + y, w, h};
  auto round = [](double v) { return static_cast<int32_t>(std::nearbyint(v)); };
  return {round(x * static_cast<double>(l.Scale) + l.PictureLeft), round(y * static_cast<double>(l.Scale) + l.PictureTop),
          round(w * static_cast<double>(l.Scale)), round(h * static_cast<double>(l.Scale))};
}
