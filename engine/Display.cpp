#include "engine/Display.h"

#include <cstdlib>

#include "app/Globals.h"
#include "app/TestLog.h"
#include "engine/FrameDecoder.h"
#include "engine/PictureLayout.h"
#include "engine/Transport.h"
#include "film/UzeCursor_new.h"
#include "foundation/SegmentList.h"
#include "shell/Format.h"
#include "shell/zePStrings.h"

HBITMAP FrameBitmap = nullptr;
uint32_t* FramePixels = nullptr;
HBITMAP CursorSaveBitmap = nullptr;
int32_t FilmDepth = 0;
int32_t DisplayDepth = 0;
int64_t MaxFrameSize = 0;
TCellSize CursorCell = {32, 32};
TPoint32 CursorPos = {0, 0}, PrevCursorPos = {0, 0};
film::TTrackEntry LastTrackEntry = {0, 0, 0};
TzeCursor* CurrentCursor = nullptr;

namespace {

TSegmentInfo* CurrentRecord() { return SegmentList ? SegmentList->Item(CurrentSegment) : nullptr; }

bool Showable(int32_t depth) { return depth == 24 || depth == 32; }

// The picture lives in a top-down 32-bit DIB section: records are XORed into its
// pixels directly, and GDI copies it to the window in any display format.
void CreateBuffers(HDC screen) {
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = Layout.FilmWidth;
  header.biHeight = -Layout.FilmHeight;
  header.biPlanes = 1;
  header.biBitCount = 32;
  void* pixels = nullptr;
  FrameBitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &pixels, nullptr, 0);
  FramePixels = FrameBitmap ? static_cast<uint32_t*>(pixels) : nullptr;
  CursorSaveBitmap = CreateCompatibleBitmap(screen, CursorCell.Width, CursorCell.Height);
}

void CopyToWindow(HDC window, HDC frame, int32_t x, int32_t y, int32_t w, int32_t h) {
  const TWindowRect r = PictureToWindow(Layout, x, y, w, h);
  if (Layout.Scaled)
    StretchBlt(window, r.X, r.Y, r.Width, r.Height, frame, x, y, w, h, SRCCOPY);
  else
    BitBlt(window, r.X, r.Y, w, h, frame, x, y, SRCCOPY);
}

}  // namespace

void InitDisplayState() {
  CursorCell = {GetSystemMetrics(SM_CXCURSOR), GetSystemMetrics(SM_CYCURSOR)};
  FilmDepth = 0;
  DisplayDepth = 0;
}

TFrameDC::TFrameDC() : FDC(CreateCompatibleDC(nullptr)), FOld(nullptr) {
  if (FDC && FrameBitmap) FOld = SelectObject(FDC, FrameBitmap);
}

TFrameDC::~TFrameDC() {
  if (!FDC) return;
  if (FOld) SelectObject(FDC, FOld);
  DeleteDC(FDC);
}

bool SetDecoderParameters(int32_t depth) {
  if (Showable(depth)) return true;
  ShowMessageBox(nullptr, Format(texts::WrongDisplaySettings, {depth}), texts::Error, MB_OK);
  CloseWindow(MainWindow);
  return false;
}

bool PrepareDisplay() {
  Layout.Scaled = false;
  HDC screen = GetDC(nullptr);
  struct Release {
    HDC dc;
    ~Release() { ReleaseDC(nullptr, dc); }
  } release{screen};
  Layout.ScreenWidth = GetDeviceCaps(screen, HORZRES);
  Layout.ScreenHeight = GetDeviceCaps(screen, VERTRES);
  const int32_t currentDisplayDepth = GetDeviceCaps(screen, BITSPIXEL);
  TSegmentInfo* segment = CurrentRecord();
  if (!segment) return false;
  bool changed = false;
  if (segment->BitsPerPixel != FilmDepth) {
    FilmDepth = segment->BitsPerPixel;
    changed = true;
  }
  SetDecoderParameters(FilmDepth);
  if (segment->Width != Layout.FilmWidth || segment->Height != Layout.FilmHeight) {
    Layout.FilmWidth = segment->Width;
    Layout.FilmHeight = segment->Height;
    changed = true;
  }
  MaxFrameSize = engine::MaxFrameSize(Layout.FilmWidth, Layout.FilmHeight);
  if (changed || FilmDepth != DisplayDepth || currentDisplayDepth != DisplayDepth) {
    DisplayDepth = currentDisplayDepth;
    ReleaseBuffers();
    if (Showable(FilmDepth) && Layout.FilmWidth > 0 && Layout.FilmHeight > 0) CreateBuffers(screen);
  }
  return true;
}

void ReleaseBuffers() {
  if (FrameBitmap) DeleteObject(FrameBitmap);
  if (CursorSaveBitmap) DeleteObject(CursorSaveBitmap);
  FrameBitmap = nullptr;
  FramePixels = nullptr;
  CursorSaveBitmap = nullptr;
}

void ClearBuffers() {
  if (!FramePixels) return;
  GdiFlush();  // GDI may still be writing into the section
  std::fill(FramePixels, FramePixels + static_cast<size_t>(Layout.FilmWidth) * Layout.FilmHeight, 0u);
}

void ReadCursorTrack() {
  TSegmentInfo* segment = CurrentRecord();
  if (!segment) return;
  uint8_t entry[film::kTrackEntrySize];
  // Once the track is used up the last entry stays, and the cursor with it.
  if (segment->CursorTrack->Read(entry, film::kTrackEntrySize) == film::kTrackEntrySize)
    LastTrackEntry = film::DecodeTrackEntry(entry);
  CurrentCursor = segment->Cursors->Item(LastTrackEntry.Cursor);
  if (CurrentCursor)
    CursorPos = {LastTrackEntry.X - CurrentCursor->HotSpotX, LastTrackEntry.Y - CurrentCursor->HotSpotY};
}

void RestoreBackground(HDC frameDC) {
  if (!CurrentCursor || !CursorSaveBitmap) return;
  HDC save = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(save, CursorSaveBitmap);
  BitBlt(frameDC, PrevCursorPos.X, PrevCursorPos.Y, CursorCell.Width, CursorCell.Height, save, 0, 0, SRCCOPY);
  SelectObject(save, old);
  DeleteDC(save);
}

void SaveBackground(HDC frameDC) {
  if (!CurrentCursor || !CursorSaveBitmap) return;
  HDC save = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(save, CursorSaveBitmap);
  BitBlt(save, 0, 0, CursorCell.Width, CursorCell.Height, frameDC, CursorPos.X, CursorPos.Y, SRCCOPY);
  SelectObject(save, old);
  DeleteDC(save);
}

void DrawCurrentCursor(HDC frameDC) {
  if (CurrentCursor) CurrentCursor->Draw(frameDC, LastTrackEntry.X, LastTrackEntry.Y);
}

void CommitCursorPos() { PrevCursorPos = CursorPos; }

void PaintFrame() {
  TSegmentInfo* segment = CurrentRecord();
  HDC window = GetDC(MainWindow);
  HDC memory = CreateCompatibleDC(window);
  HGDIOBJ old = nullptr;
  if (segment && Showable(segment->BitsPerPixel) && FrameBitmap) {
    old = SelectObject(memory, FrameBitmap);
    if (Layout.Scaled)
      StretchBlt(window, Layout.PictureLeft, Layout.PictureTop, Layout.ScaledWidth, Layout.ScaledHeight, memory, 0, 0,
                 Layout.FilmWidth, Layout.FilmHeight, SRCCOPY);
    else
      BitBlt(window, Layout.PictureLeft, Layout.PictureTop, Layout.FilmWidth, Layout.FilmHeight, memory, 0, 0,
             SRCCOPY);
    SelectObject(memory, old);
  }
  DeleteDC(memory);
  ReleaseDC(MainWindow, window);
}

void PaintCursorArea(HDC frameDC) {
  HDC window = GetDC(MainWindow);
  const int32_t ox = PrevCursorPos.X, oy = PrevCursorPos.Y, nx = CursorPos.X, ny = CursorPos.Y;
  const int32_t cw = CursorCell.Width, ch = CursorCell.Height;
  if (std::abs(nx - ox) < cw && std::abs(ny - oy) < ch) {
    CopyToWindow(window, frameDC, std::min(nx, ox), std::min(ny, oy), std::abs(nx - ox) + cw, std::abs(ny - oy) + ch);
  } else {
    CopyToWindow(window, frameDC, ox, oy, cw, ch);
    CopyToWindow(window, frameDC, nx, ny, cw, ch);
  }
  ReleaseDC(MainWindow, window);
}
