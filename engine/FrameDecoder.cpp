#include "engine/FrameDecoder.h"

// The XOR loops are the hot path of playback: let the compiler vectorise them
// (at -O2 it leaves loops of unknown length scalar).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC optimize("O3")
#endif

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
  const int32_t runs = std::min(GetI32(record + 4), (length - kRecordHeaderSize) / kRunSize);
  if (runs <= 0) return result;
  const uint8_t* run = record + kRecordHeaderSize;
  const uint8_t* const end = run + static_cast<size_t>(runs) * kRunSize;
  uint32_t* p = picture;
  uint32_t* const last = picture + std::max<int64_t>(pixelCount, 0);
  uint64_t covered = 0;
  // Pointers and 32-bit counts keep the loop in registers on a 32-bit build; a
  // run's value is its first four bytes less the top one (a length byte).
  for (; run < end; run += kRunSize) {
    const uint32_t value = GetU32(run) & 0x00FFFFFFu;
    size_t n = GetU16(run + 3);
    covered += n;
    if (n > static_cast<size_t>(last - p)) {
      n = static_cast<size_t>(last - p);
      result.Clipped = true;
    }
    if (n == 1) {  // a single pixel: the common run of a busy picture
      *p++ ^= value;
      continue;
    }
    if (value != 0)
      for (size_t k = 0; k < n; ++k) p[k] ^= value;
    p += n;
  }
  result.Covered = static_cast<int64_t>(covered);
  return result;
}

}  // namespace engine
