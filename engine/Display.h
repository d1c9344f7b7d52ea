// The display buffers of a segment and the drawing of every tick: the picture
// kept off screen in a 32-bit DIB section (frame records are applied to it in
// place), the recorded cursor drawn over it by save-draw-restore, and copies of
// the whole picture or of the cursor cells to the main window.
#pragma once

#include <windows.h>

#include <cstdint>

#include "film/FilmFormat.h"

class TzeCursor;

extern HBITMAP FrameBitmap;        // the current picture, with the cursor drawn in while playing
extern uint32_t* FramePixels;      // FrameBitmap's pixels, top-down, blue green red unused
extern HBITMAP CursorSaveBitmap;   // the picture under the cursor as last drawn
extern int32_t FilmDepth;          // bits per pixel of the film the buffers were set up for
extern int32_t DisplayDepth;       // the display's bits per pixel when the buffers were made
extern int64_t MaxFrameSize;       // the largest record the current picture can need

struct TCellSize {
  int32_t Width, Height;
};
struct TPoint32 {
  int32_t X, Y;
};
extern TCellSize CursorCell;
extern TPoint32 CursorPos, PrevCursorPos;
extern film::TTrackEntry LastTrackEntry;
extern TzeCursor* CurrentCursor;

// Reads the cursor cell size from the system (program start).
void InitDisplayState();

// Sets the buffers up for the current segment's size and depth; false when there is
// no current segment.
bool PrepareDisplay();
// True for the depths the player can show (24 and 32 bits per pixel); for any
// other it reports the depth and minimises the main window.
bool SetDecoderParameters(int32_t depth);
void ClearBuffers();
void ReleaseBuffers();

void ReadCursorTrack();
void RestoreBackground(HDC frameDC);
void SaveBackground(HDC frameDC);
void DrawCurrentCursor(HDC frameDC);
void CommitCursorPos();
// Copies the whole picture to the main window.
void PaintFrame();
// Copies the old and the new cursor cell (one rectangle when they overlap).
void PaintCursorArea(HDC frameDC);

// A memory device context with FrameBitmap selected, for one tick's drawing.
class TFrameDC {
 public:
  TFrameDC();
  ~TFrameDC();
  TFrameDC(const TFrameDC&) = delete;
  TFrameDC& operator=(const TFrameDC&) = delete;
  HDC Handle() const { return FDC; }

 private:
  HDC FDC;
  HGDIOBJ FOld;
};
