// One recorded cursor image: the mask and colour bitmaps made from its record,
// and the cursor handle built from them, drawn over the picture every tick.
#pragma once

#include <windows.h>

#include <cstdint>

#include "film/CursorRecord.h"

class TzeCursor {
 public:
  TzeCursor() = default;
  ~TzeCursor() { ClearImages(); }
  TzeCursor(const TzeCursor&) = delete;
  TzeCursor& operator=(const TzeCursor&) = delete;

  // Reads one record from the file's current position (so a stream on the same
  // handle moves on with it); available: bytes left in the payload. The images
  // are built only from a record that passed its checks.
  film::TCursorRead LoadFromHandle(HANDLE file, int64_t available);
  // Draws the cursor with its hot spot at (x, y).
  void Draw(HDC dc, int x, int y) const;
  void ClearImages();

  HICON IconHandle = nullptr;
  int32_t HotSpotX = 0, HotSpotY = 0;
  film::TImageInfo MaskInfo;
  HBITMAP MaskBitmap = nullptr;
  film::TImageInfo ColorInfo;
  HBITMAP ColorBitmap = nullptr;

 private:
  void BuildImages(const film::TCursorRecord& record);
};
