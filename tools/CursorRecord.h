// Cursor records as the segment payload carries them: a hot spot, a monochrome
// mask and an optional colour image, each bitmap with its size fields.
#pragma once

#include <cstdint>
#include <vector>

#include "film/FilmFormat.h"

namespace filmwriter {

// A record's fields exactly as they will be written. The size fields are written
// as they stand, not taken from the bit vectors, so a test can make records whose
// sizes do not match their bits.
struct TCursorRecord {
  int32_t HotSpotX = 0;
  int32_t HotSpotY = 0;
  film::TImageInfo MaskInfo;
  std::vector<uint8_t> MaskBits;  // rows of 1-bit pixels, leftmost pixel in the top bit, padded to 16 bits
  film::TImageInfo ColorInfo;
  std::vector<uint8_t> ColorBits;  // top-down DIB rows, padded to 4 bytes
};

std::vector<uint8_t> EncodeCursorRecord(const TCursorRecord& record);

// A colour cursor of 32 bits per pixel from top-down pixels 0xAARRGGBB: alpha 0
// is transparent (mask bit 1, colour 0), anything else shows the pixel's colour.
// 32 x 32 pixels give a record of 4,258 bytes.
TCursorRecord ColorCursor(int32_t hotX, int32_t hotY, int32_t width, int32_t height,
                          const std::vector<uint32_t>& argbPixels);

// A monochrome cursor: one mask of double height, the AND half on top and the
// XOR half below, and no colour image. 32 x 32 pixels give a record of 290 bytes.
enum class TMonoPixel : uint8_t { Transparent, Black, White, Inverted };
TCursorRecord MonochromeCursor(int32_t hotX, int32_t hotY, int32_t width, int32_t height,
                               const std::vector<TMonoPixel>& pixels);

// A record without images (34 bytes), the recorder's hidden cursor.
TCursorRecord EmptyCursor(int32_t hotX = 0, int32_t hotY = 0);

}  // namespace filmwriter
