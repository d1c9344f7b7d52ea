// Reading one cursor image record out of a segment's unpacked payload, with
// every size checked: a record whose images do not match their own descriptions
// is refused (read past, no image), one that runs past the payload is damage.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "film/FilmFormat.h"

namespace film {

// Reads up to count bytes into buffer and answers how many it read.
using TReadFn = std::function<int32_t(void* buffer, int32_t count)>;

enum class TCursorRead {
  Ok,       // images present (or none at all: a hidden cursor)
  Refused,  // the record was read past, but its images are unusable
  Damaged,  // the record does not fit in what is left of the payload
};

struct TCursorRecord {
  int32_t HotSpotX = 0, HotSpotY = 0;
  TImageInfo MaskInfo, ColorInfo;  // zeroed when refused
  std::vector<uint8_t> MaskBits, ColorBits;
  int64_t RecordSize = 0;  // bytes the record takes in the payload
};

constexpr int32_t kMaxCursorSide = 1024;  // far beyond any cursor, small enough for any bitmap

// available: bytes left in the payload from the record's first byte.
TCursorRead ReadCursorRecord(const TReadFn& read, int64_t available, TCursorRecord& record);

}  // namespace film
