// Plausible screen recordings for the demo film and the benchmarks: a desktop
// with two windows, a note being typed character by character, a window being
// dragged, and the recorded cursor moving and clicking. Deterministic: the same
// arguments always draw the same pictures and the same cursor track.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "film/FilmFormat.h"
#include "tools/CursorRecord.h"
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

enum class TDemoScript {
  Typing,        // the cursor goes to a note window, clicks, and a text is typed
  MovingWindow,  // the cursor drags a file window across the desktop and clicks its button
};

// The demo's cursor images, in the order the cursor track refers to them:
// a colour arrow, a monochrome I-beam, a colour four-way move cursor, the hidden cursor.
enum TDemoCursor : uint16_t { dcArrow = 0, dcIBeam = 1, dcMove = 2, dcHidden = 3 };
std::vector<TCursorRecord> DemoCursors();

class TDemoScene {
 public:
  TDemoScene(TDemoScript script, int32_t width, int32_t height, int32_t frameCount, int32_t ticksPerFrame);

  // Draws the whole desktop as it looks at the given frame (0 to frameCount - 1).
  void Render(int32_t frame, TCanvas& canvas) const;
  // The cursor at tick 0 to ticksPerFrame - 1 of the given frame.
  film::TTrackEntry CursorAt(int32_t frame, int32_t tick) const;

  int32_t FrameCount() const { return FFrameCount; }
  int32_t TicksPerFrame() const { return FTicksPerFrame; }

 private:
  struct TPoint {
    double X, Y;
  };
  struct TCursorState {
    TPoint Position;
    uint16_t Cursor;
  };
  double Progress(double time) const;  // 0 at the first frame, 1 at the last
  TCursorState CursorState(double progress) const;
  TPoint FilesWindowAt(double progress) const;
  void DrawDesktop(TCanvas& canvas, int32_t frame) const;
  void DrawNotes(TCanvas& canvas, double progress, int32_t frame) const;
  void DrawFiles(TCanvas& canvas, double progress) const;

  TDemoScript FScript;
  int32_t FWidth, FHeight, FFrameCount, FTicksPerFrame;
};

}  // namespace filmwriter
