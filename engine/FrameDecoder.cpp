#include "engine/FrameDecoder.h"

#include <algorithm>

#include "foundation/Bytes.h"

namespace engine {

int32_t RecordLength(const uint8_t* record) { return GetI32(record); }

uint32_t PictureHash(const uint32_t* picture, int64_t pixelCount) {
  uint32_t hash = 2166136261u;  // FNV-1a over the colour bytes
  for (int64_t i = 0; i < pixelCount; ++i) {
    const uint32_t v = picture[i];
    for (int shift = 0; shift < 24; shift += 8) hash = (hash ^ ((v >> shift) & 0xFF)) * 16777619u;
  }
  return hash;
}

TApplyResult ApplyFrameRecord(const uint8_t* record, int32_t length, uint32_t* picture, int64_t pixelCount) {
  TApplyResult result;
  if (length < kRecordHeaderSize) return result;
  const int32_t stated = GetI32(record + 4);
  const int32_t runs = std::min(stated, (length - kRecordHeaderSize) / kRunSize);
  const uint8_t* run = record + kRecordHeaderSize;
  int64_t at = 0;
  for (int32_t i = 0; i < runs; ++i, run += kRunSize) {
    const uint32_t value = run[0] | (run[1] << 8) | (run[2] << 16);
    const int64_t count = GetU16(run + 3);
    result.Covered += count;
    if (at >= pixelCount) {
      result.Clipped = true;
      continue;
    }
    const int64_t n = std::min(count, pixelCount - at);
    if (n < count) result.Clipped = true;
    if (value != 0) {
      uint32_t* p = picture + at;
      for (int64_t k = 0; k < n; ++k) p[k] ^= value;
    }
    at += n;
  }
  return result;
}

}  // namespace engine
