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

// The colour arrow of the test films: white where this is true, hot spot (0, 0).
inline bool ArrowPixel(int32_t x, int32_t y) { return y >= 0 && y < 20 && x >= 0 && x <= y / 2; }

// The cursor track of every test segment: tick t of frame f.
inline int32_t TrackX(int32_t frame, int32_t tick) { return 10 + frame * 3 + tick; }
inline int32_t TrackY(int32_t frame) { return 12 + frame; }

// Self-playing copies of the player (made with --player):
// play.exe: the two segments below, cursors of every kind in turn.
constexpr int32_t kPlayWidth0 = 161, kPlayHeight0 = 97, kPlayFrames0 = 12;  // 24 bits, 1 tick, 10 fps
constexpr int32_t kPlayWidth1 = 200, kPlayHeight1 = 120, kPlayFrames1 = 10;  // 32 bits, 3 ticks, 8 fps
// long.exe: one segment of the arrow cursor only, long enough to pause in.
constexpr int32_t kLongWidth = 160, kLongHeight = 100, kLongFrames = 80;  // 24 bits, 1 tick, 5 fps
// big.exe: every pixel changes every frame, so the records need both blocks and a
// refill; the hidden cursor only, so the picture is the pattern itself.
constexpr int32_t kBigWidth = 640, kBigHeight = 480, kBigFrames = 24;  // 32 bits, 1 tick, 25 fps
// nofilm-segments.exe: a film whose only entry is not a segment.
// short.exe, broken.exe, huge.exe: a faulty segment (frame count beyond its
// records; a record of length 0 after the good ones; a picture too large for a
// block), then a good one, each of kFaultFrames frames of 64 x 48.
constexpr int32_t kFaultFrames = 6;
constexpr int32_t kHugeWidth = 1700, kHugeHeight = 2000;

// The language table appended with appended.bin.
constexpr const char* kLanguageText = "Error = Fehler\r\nPlay=Los";
constexpr int32_t kFakePlayerSize = 1000;  // bytes of the stand-in player in front of the tail

}  // namespace testfilms
