// The films the Windows tests load, made by make_test_films with the film writer.
// Both sides read the facts below, so a test and its film cannot disagree.
#pragma once

#include <cstdint>

namespace testfilms {

// A picture pattern both the maker and the checks can draw: pixel (x, y) of
// frame f, 0x00RRGGBB.
inline uint32_t PatternPixel(int32_t x, int32_t y, int32_t frame) {
  return static_cast<uint32_t>(((x * 7 + frame * 29) & 0xFF) | (((y * 13 + frame * 3) & 0xFF) << 8) |
                               (((x + y + frame * 50) & 0xFF) << 16));
}

// two-lzma.zef and two-cab.zef: the first segment
constexpr int32_t kFirstWidth = 64, kFirstHeight = 48, kFirstFrames = 4;
constexpr float kFirstRate = 2.0f;  // three ticks per frame, 32 bits per pixel
constexpr const char* kFirstTitle = "First segment";
// the second segment: an odd width at 24 bits per pixel, with a third block and sound
constexpr int32_t kSecondWidth = 37, kSecondHeight = 21, kSecondFrames = 3;
constexpr float kSecondRate = 29.97f;
constexpr const char* kSecondTitle = "Second";
constexpr const char* kThirdBlock = "THIRD BLOCK";
constexpr int32_t kCursorCount = 3;  // colour arrow, monochrome hand, hidden

// The language table appended with appended.bin.
constexpr const char* kLanguageText = "Error = Fehler\r\nPlay=Los";
constexpr int32_t kFakePlayerSize = 1000;  // bytes of the stand-in player in front of the tail

}  // namespace testfilms
