#include "tools/FrameEncoder.h"

#include <cstdint>
#include <string>

#include "film/FilmFormat.h"
#include "foundation/Bytes.h"
#include "foundation/Exception.h"

namespace filmwriter {

TFrameEncoder::TFrameEncoder(int32_t width, int32_t height) : FWidth(width), FHeight(height) {
  if (width <= 0 || height <= 0) throw Exception("Frame size must be positive");
  // The record's length field is 32-bit: one run per pixel must still fit.
  if (film::FrameRecordSize(static_cast<int64_t>(width) * height) > INT32_MAX) throw Exception("Frame size too large");
  FPrevious.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
}

void TFrameEncoder::Encode(const TPixels& pixels, std::vector<uint8_t>& record) {
  if (pixels.Width != FWidth || pixels.Height != FHeight)
    throw Exception("Frame is " + std::to_string(pixels.Width) + "x" + std::to_string(pixels.Height) +
                    ", the segment " + std::to_string(FWidth) + "x" + std::to_string(FHeight));
  if (pixels.BitsPerPixel != 24 && pixels.BitsPerPixel != 32)
    throw Exception("Frames must have 24 or 32 bits per pixel");
  const int32_t step = pixels.BitsPerPixel / 8;
  const int64_t stride = pixels.Stride != 0 ? pixels.Stride : static_cast<int64_t>(FWidth) * step;
  if (stride < static_cast<int64_t>(FWidth) * step || !pixels.Data) throw Exception("Frame rows are too short");

  record.assign(film::kFrameHeaderSize, 0);
  int64_t runCount = 0;
  film::TRun run{0, 0};
  auto flush = [&] {
    const size_t at = record.size();
    record.resize(at + film::kRunSize);
    film::EncodeRun(run, record.data() + at);
    ++runCount;
  };
  // Runs cross row ends freely: the picture is one sequence of pixels.
  uint32_t* previous = FPrevious.data();
  for (int32_t y = 0; y < FHeight; ++y) {
    const uint8_t* p = pixels.Data + stride * y;
    for (int32_t x = 0; x < FWidth; ++x, p += step, ++previous) {
      const uint32_t value = static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16));
      const uint32_t delta = value ^ *previous;
      *previous = value;
      if (run.Length != 0 && (delta != run.Value || run.Length == film::kMaxRunLength)) {
        flush();
        run.Length = 0;
      }
      run.Value = delta;
      ++run.Length;
    }
  }
  flush();
  PutI32(record.data() + film::kFrameLengthOffset, static_cast<int32_t>(record.size()));
  PutI32(record.data() + film::kFrameRunCountOffset, static_cast<int32_t>(runCount));
}

}  // namespace filmwriter
