// Turns pictures into frame records: XOR runs against the previous picture (the
// first against black), as the player's frame decoder expects them.
#pragma once

#include <cstdint>
#include <vector>

namespace filmwriter {

// A picture in memory. Rows are top-down (the first row is the picture's top)
// and Stride bytes apart; each pixel is blue, green, red at 24 bits per pixel,
// or blue, green, red and one ignored byte at 32. Stride 0 means rows without
// padding (Width x 3 or Width x 4 bytes).
struct TPixels {
  const uint8_t* Data = nullptr;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t BitsPerPixel = 32;
  int32_t Stride = 0;
};

class TFrameEncoder {
 public:
  TFrameEncoder(int32_t width, int32_t height);

  // Encodes pixels as the next frame record into record (replacing its content)
  // and remembers them as the picture the following frame is compared with.
  void Encode(const TPixels& pixels, std::vector<uint8_t>& record);

  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }

 private:
  int32_t FWidth, FHeight;
  std::vector<uint32_t> FPrevious;  // 24-bit values of the picture the player shows now
};

}  // namespace filmwriter
