#include "film/UzeCursor_new.h"

#include <cstring>

namespace {

// Memory device contexts on the screen, deleted at the end of the scope.
struct MemoryDC {
  HDC dc = CreateCompatibleDC(nullptr);
  ~MemoryDC() {
    if (dc) DeleteDC(dc);
  }
};

// Converts the record's top-down DIB pixels to a bitmap in the display's format
// once, so that drawing is two plain raster copies per tick.
HBITMAP MakeDisplayBitmap(const film::TImageInfo& info, const std::vector<uint8_t>& bits) {
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = info.Width;
  header.biHeight = -info.Height;  // top-down
  header.biPlanes = 1;
  header.biBitCount = info.BitsPerPixel;
  MemoryDC source, target;
  void* pixels = nullptr;
  HBITMAP dib = CreateDIBSection(source.dc, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (!dib || !pixels) {
    if (dib) DeleteObject(dib);
    return nullptr;
  }
  HDC screen = GetDC(nullptr);
  const int displayBits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  HBITMAP result = CreateBitmap(info.Width, info.Height, 1, displayBits, nullptr);
  if (result) {
    std::memcpy(pixels, bits.data(), bits.size());  // sizes were checked against the header
    HGDIOBJ oldSource = SelectObject(source.dc, dib);
    HGDIOBJ oldTarget = SelectObject(target.dc, result);
    BitBlt(target.dc, 0, 0, info.Width, info.Height, source.dc, 0, 0, SRCCOPY);
    SelectObject(source.dc, oldSource);
    SelectObject(target.dc, oldTarget);
  }
  DeleteObject(dib);
  return result;
}

}  // namespace

film::TCursorRead TzeCursor::LoadFromHandle(HANDLE file, int64_t available) {
  if (IconHandle || MaskBitmap || ColorBitmap) ClearImages();
  film::TCursorRecord record;
  const film::TCursorRead result = film::ReadCursorRecord(
      [file](void* buffer, int32_t count) -> int32_t {
        DWORD got = 0;
        if (count <= 0 || !ReadFile(file, buffer, static_cast<DWORD>(count), &got, nullptr)) return 0;
        return static_cast<int32_t>(got);
      },
      available, record);
  HotSpotX = record.HotSpotX;
  HotSpotY = record.HotSpotY;
  if (result == film::TCursorRead::Ok) BuildImages(record);
  return result;
}

void TzeCursor::BuildImages(const film::TCursorRecord& record) {
  ICONINFO info = {};
  info.fIcon = FALSE;
  info.xHotspot = static_cast<DWORD>(HotSpotX);
  info.yHotspot = static_cast<DWORD>(HotSpotY);
  MaskInfo = record.MaskInfo;
  if (MaskInfo.Size > 0) {
    MaskBitmap = CreateBitmap(MaskInfo.Width, MaskInfo.Height, 1, MaskInfo.BitsPerPixel, record.MaskBits.data());
    info.hbmMask = MaskBitmap;
  }
  ColorInfo = record.ColorInfo;
  if (ColorInfo.Size > 0) {
    ColorBitmap = MakeDisplayBitmap(ColorInfo, record.ColorBits);
    info.hbmColor = ColorBitmap;
  }
  // A cursor whose bitmaps could not be made keeps no image of that kind and draws nothing.
  if ((MaskInfo.Size > 0 && !MaskBitmap) || (ColorInfo.Size > 0 && !ColorBitmap)) {
    ClearImages();
    return;
  }
  IconHandle = CreateIconIndirect(&info);  // fails, leaving 0, for a record without images
}

void TzeCursor::Draw(HDC dc, int x, int y) const {
  const int left = x - HotSpotX, top = y - HotSpotY;
  if (ColorInfo.Size != 0) {
    if (!MaskBitmap || !ColorBitmap) return;
    MemoryDC memory;
    HGDIOBJ old = SelectObject(memory.dc, MaskBitmap);
    BitBlt(dc, left, top, MaskInfo.Width, MaskInfo.Height, memory.dc, 0, 0, SRCAND);
    SelectObject(memory.dc, ColorBitmap);
    BitBlt(dc, left, top, ColorInfo.Width, ColorInfo.Height, memory.dc, 0, 0, SRCINVERT);
    SelectObject(memory.dc, old);
  } else if (IconHandle) {
    DrawIcon(dc, left, top, IconHandle);
  }
}

void TzeCursor::ClearImages() {
  if (IconHandle) DestroyIcon(IconHandle);
  if (MaskBitmap) DeleteObject(MaskBitmap);
  if (ColorBitmap) DeleteObject(ColorBitmap);
  IconHandle = nullptr;
  MaskBitmap = nullptr;
  ColorBitmap = nullptr;
  MaskInfo = film::TImageInfo();
  ColorInfo = film::TImageInfo();
}
