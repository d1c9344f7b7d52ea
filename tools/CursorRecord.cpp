#include "tools/CursorRecord.h"

#include <cstring>
#include <string>

#include "foundation/Bytes.h"
#include "foundation/Exception.h"

namespace filmwriter {

std::vector<uint8_t> EncodeCursorRecord(const TCursorRecord& r) {
  std::vector<uint8_t> bytes(film::kCursorRecordFixedSize + r.MaskBits.size() + r.ColorBits.size());
  uint8_t* p = bytes.data();
  PutI32(p, r.HotSpotX);
  PutI32(p + 4, r.HotSpotY);
  film::EncodeImageInfo(r.MaskInfo, p + film::kMaskInfoOffset);
  p += film::kMaskBitsOffset;
  if (!r.MaskBits.empty()) std::memcpy(p, r.MaskBits.data(), r.MaskBits.size());
  p += r.MaskBits.size();
  film::EncodeImageInfo(r.ColorInfo, p);
  p += film::kImageInfoSize;
  if (!r.ColorBits.empty()) std::memcpy(p, r.ColorBits.data(), r.ColorBits.size());
  return bytes;
}

namespace {

void CheckPixels(int32_t width, int32_t height, size_t count) {
  if (width <= 0 || height <= 0 || static_cast<int64_t>(width) * height != static_cast<int64_t>(count))
    throw Exception("Cursor of " + std::to_string(width) + "x" + std::to_string(height) + " given " +
                    std::to_string(count) + " pixels");
}

// Monochrome rows of 1-bit pixels, all bits 0.
film::TImageInfo MaskOf(int32_t width, int32_t height, std::vector<uint8_t>& bits) {
  const int64_t size = film::MaskBytes(width, height, 1);
  bits.assign(static_cast<size_t>(size), 0);
  return {static_cast<int32_t>(size), width, height, 1};
}

void SetMaskBit(std::vector<uint8_t>& bits, int32_t width, int32_t x, int32_t y) {
  const int64_t rowBytes = film::MaskBytes(width, 1, 1);
  bits[static_cast<size_t>(rowBytes * y + x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
}

}  // namespace

TCursorRecord ColorCursor(int32_t hotX, int32_t hotY, int32_t width, int32_t height,
                          const std::vector<uint32_t>& argbPixels) {
  CheckPixels(width, height, argbPixels.size());
  TCursorRecord r;
  r.HotSpotX = hotX;
  r.HotSpotY = hotY;
  r.MaskInfo = MaskOf(width, height, r.MaskBits);
  const int64_t colorSize = film::DibBytes(width, height, 32);
  r.ColorInfo = {static_cast<int32_t>(colorSize), width, height, 32};
  r.ColorBits.assign(static_cast<size_t>(colorSize), 0);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t argb = argbPixels[static_cast<size_t>(y) * width + x];
      if ((argb >> 24) == 0) {
        SetMaskBit(r.MaskBits, width, x, y);
      } else {
        PutU32(&r.ColorBits[(static_cast<size_t>(y) * width + x) * 4], argb & 0x00FFFFFF);
      }
    }
  }
  return r;
}

TCursorRecord MonochromeCursor(int32_t hotX, int32_t hotY, int32_t width, int32_t height,
                               const std::vector<TMonoPixel>& pixels) {
  CheckPixels(width, height, pixels.size());
  TCursorRecord r;
  r.HotSpotX = hotX;
  r.HotSpotY = hotY;
  r.MaskInfo = MaskOf(width, 2 * height, r.MaskBits);
  // AND bit 1 keeps the screen, XOR bit 1 then inverts it: transparent is (1, 0),
  // black (0, 0), white (0, 1) and inverted (1, 1).
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const TMonoPixel p = pixels[static_cast<size_t>(y) * width + x];
      if (p == TMonoPixel::Transparent || p == TMonoPixel::Inverted) SetMaskBit(r.MaskBits, width, x, y);
      if (p == TMonoPixel::White || p == TMonoPixel::Inverted) SetMaskBit(r.MaskBits, width, x, height + y);
    }
  }
  return r;
}

TCursorRecord EmptyCursor(int32_t hotX, int32_t hotY) {
  TCursorRecord r;
  r.HotSpotX = hotX;
  r.HotSpotY = hotY;
  return r;
}

}  // namespace filmwriter
