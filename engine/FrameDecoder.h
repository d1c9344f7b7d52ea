// Applying frame records to the picture. A record is a run-length list of 24-bit
// values to XOR onto the previous picture, in picture order (left to right, top
// to bottom, runs crossing row ends freely). The picture is kept as top-down
// 32-bit pixels (blue, green, red, unused), so a record is applied in place:
// unchanged runs cost nothing and no intermediate buffer is filled.
#pragma once

#include <cstdint>

namespace engine {

constexpr int32_t kRecordHeaderSize = 8;  // length, run count
constexpr int32_t kRunSize = 5;           // 3 value bytes, 2 length bytes

// The largest record a picture can need: every pixel its own run.
inline int64_t MaxFrameSize(int32_t width, int32_t height) {
  return static_cast<int64_t>(kRunSize) * width * height;
}

struct TApplyResult {
  int64_t Covered = 0;   // pixels the runs named, clipped ones included
  bool Clipped = false;  // runs went past the picture's last pixel and were cut there
};

// XORs the record's runs into picture (pixelCount pixels). The record may say
// more runs than its length holds: only whole runs inside `length` bytes are used.
// Nothing is ever written outside the picture.
TApplyResult ApplyFrameRecord(const uint8_t* record, int32_t length, uint32_t* picture, int64_t pixelCount);

// A hash of a picture's 24-bit colours (the unused byte left out), for checks
// that compare shown pictures with expected ones without holding both.
uint32_t PictureHash(const uint32_t* picture, int64_t pixelCount);

// The record's stored length (its first four bytes).
int32_t RecordLength(const uint8_t* record);

}  // namespace engine
