// The container's fixed layouts: the worked example's header, the tail rules,
// frame-rate rounding and the bitmap size formulas.
#include "film/FilmFormat.h"

#include <gtest/gtest.h>

#include <vector>

using namespace film;

TEST(FilmFormat, DecodesTheRecordersSegmentHeader) {
  const uint8_t bytes[kSegmentHeaderSize] = {
      0x01, 0x75, 0x03, 0x00, 0x00, 0x7e, 0x02, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x40, 0x01, 0x21, 0x00, 0x00,
      0x2d, 0x03, 0x00, 0x00, 0x0a, 0x00, 0x00, 0x00, 0x30, 0x39, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3c, 0x80,
      0xd8, 0x00, 0xff, 0x74, 0x13, 0x00, 0x36, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x35, 0x75, 0x13, 0x00};
  const TSegmentHeader h = DecodeSegmentHeader(bytes);
  EXPECT_EQ(h.Version, 1);
  EXPECT_EQ(h.Width, 885);
  EXPECT_EQ(h.Height, 638);
  EXPECT_EQ(h.BitsPerPixel, 32);
  EXPECT_EQ(h.FrameRate, 2.0f);
  EXPECT_EQ(h.Flags, 0x2101u);
  EXPECT_EQ(CompressionOf(h.Flags), cmLzma);
  EXPECT_EQ(SoundKindOf(h.Flags), skMp3);
  EXPECT_TRUE(ThreeTicksPerFrame(h.Flags));
  EXPECT_EQ(h.FrameCount, 813);
  EXPECT_EQ(h.CursorCount, 10);
  EXPECT_EQ(h.CursorTrackSize, 14640);
  EXPECT_EQ(h.ThirdBlockSize, 0);
  EXPECT_EQ(h.FrameDataSize, 14188604);
  EXPECT_EQ(h.PayloadSize, 1275135);
  EXPECT_EQ(h.PayloadOffset, 54);
  EXPECT_EQ(h.SoundSize, 0);
  EXPECT_EQ(h.SoundOffset, 1275189);
  uint8_t again[kSegmentHeaderSize];
  EncodeSegmentHeader(h, again);
  EXPECT_EQ(std::vector<uint8_t>(again, again + kSegmentHeaderSize),
            std::vector<uint8_t>(bytes, bytes + kSegmentHeaderSize));
}

TEST(FilmFormat, TailOfTheWorkedExample) {
  TTail t;
  ASSERT_TRUE(DecodeTail(2369612, 2209474, 898, t));
  EXPECT_EQ(t.FilmStart, 160134);
  EXPECT_EQ(t.LanguageStart, 159232);
}

TEST(FilmFormat, InconsistentTailsAreNoTail) {
  struct Case {
    int64_t size;
    int32_t n, l;
    bool ok;
  } cases[] = {
      {100, 0, 0, true},     // no film, no table
      {100, 92, 0, true},    // film fills all but N and L
      {100, 93, 0, false},   // N > S - 8
      {100, -1, 0, false},   // negative N
      {100, 50, 42, true},   // L = S - N - 8
      {100, 50, 43, false},  // L > S - N - 8
      {100, 50, -5, false},  // negative L
      {4, 0, 0, false},      // file too short for N and L
      {0x7FFFFFF0, 0x7FFFFFF0, 0, false},
  };
  for (const Case& c : cases) {
    TTail t;
    EXPECT_EQ(DecodeTail(c.size, c.n, c.l, t), c.ok) << c.size << " " << c.n << " " << c.l;
  }
}

TEST(FilmFormat, FrameRateRoundsHalvesToEvenAndKeeps8Bits) {
  struct Case {
    float rate;
    int expected;
  } cases[] = {{2.5f, 2}, {3.5f, 4}, {29.97f, 30}, {0.4f, 0}, {255.0f, 255}, {256.0f, 0}, {300.0f, 44}, {1e30f, 0}};
  for (const Case& c : cases) EXPECT_EQ(RoundFrameRate(c.rate), c.expected) << c.rate;
}

TEST(FilmFormat, BitmapSizes) {
  EXPECT_EQ(MaskBytes(32, 32, 1), 128);
  EXPECT_EQ(MaskBytes(32, 64, 1), 256);
  EXPECT_EQ(MaskBytes(17, 2, 1), 8);  // rows padded to 16 bits
  EXPECT_EQ(DibBytes(32, 32, 32), 4096);
  EXPECT_EQ(DibBytes(3, 2, 24), 24);  // rows padded to 4 bytes
  EXPECT_EQ(DibBytes(0, 5, 32), 0);
  EXPECT_EQ(DibBytes(-1, 5, 32), 0);
}
