// The demo film: two segments of the demo desktop, "Typing a note" with one
// clock tick per frame and "Moving a window" with three.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/FilmWriter.h"

namespace filmwriter {

struct TDemoFilmOptions {
  int32_t Width = 800;
  int32_t Height = 600;
  int32_t FramesPerSegment = 60;
  float FrameRate = 10.0f;
  uint8_t BitsPerPixel = 32;  // the header's colour depth
  TPackOptions Packing;
  std::vector<uint8_t> Sound;  // MP3 bytes for the first segment; empty: no sound
};

void AddDemoSegments(TFilmWriter& film, const TDemoFilmOptions& options);

}  // namespace filmwriter
