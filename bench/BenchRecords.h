// Frame records of the sizes and kinds a recording holds, drawn by the demo
// scenes and encoded by the film writer's encoder, for the frame benchmarks of
// both builds: the same content gives the same runs on Linux and under Wine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

constexpr int32_t kWidth = 885, kHeight = 638;
constexpr int64_t kPixels = static_cast<int64_t>(kWidth) * kHeight;

struct TRecordSet {
  std::string Name;
  std::vector<std::vector<uint8_t>> Records;  // applied in this order, one after the other
  int64_t Runs() const;                       // over all records
  int64_t Bytes() const;
  int64_t ChangedPixels() const;              // pixels under non-zero runs
};

// Pictures are handed to the encoder at this depth (24 or 32 bits per pixel).
// (a) One desktop replaced by a wholly different one: the typing scene's last
// frame, then the moving-window scene laid out for a 1024 x 768 screen (its
// top-left part): windows, text, taskbar and the background gradient all move.
TRecordSet FullScreenChange(int32_t bitsPerPixel);
// (b) count consecutive recording steps of a 300-frame demo scene from frame
// first on (each record against the frame before it): typed characters and the
// caret, or a window dragged across the desktop.
TRecordSet TypingSteps(int32_t bitsPerPixel, int32_t first, int32_t count);
TRecordSet DragSteps(int32_t bitsPerPixel, int32_t first, int32_t count);
// (c) A frame equal to the one before: nothing but zero runs of 65,535 pixels.
TRecordSet Unchanged(int32_t bitsPerPixel);
// (d) Every pixel differs from its neighbours: one run per pixel, the largest
// record the picture can have.
TRecordSet EveryPixelARun(int32_t bitsPerPixel);

}  // namespace bench
