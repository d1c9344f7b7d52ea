// Plausible screen recordings for the demo film and the benchmarks: a desktop
// with two windows, a note being typed character by character, a window being
// dragged, and the recorded cursor moving and clicking. Deterministic: the same
// arguments always draw the same pictures and the same cursor track.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "film/FilmFormat.h"
#include "tools/Canvas.h"
#include "tools/CursorRecord.h"

namespace filmwriter {

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
