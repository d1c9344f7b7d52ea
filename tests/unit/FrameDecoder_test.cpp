// Applying frame records in place: runs crossing row ends, zero runs, records
// whose runs cover too much or too little, and records cut short.
#include "engine/FrameDecoder.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "foundation/Bytes.h"

using engine::ApplyFrameRecord;

namespace {

// A record from (value, length) runs.
std::vector<uint8_t> Record(const std::vector<std::pair<uint32_t, uint16_t>>& runs) {
  std::vector<uint8_t> r(8 + 5 * runs.size());
  PutI32(r.data(), static_cast<int32_t>(r.size()));
  PutI32(r.data() + 4, static_cast<int32_t>(runs.size()));
  uint8_t* p = r.data() + 8;
  for (const auto& run : runs) {
    p[0] = static_cast<uint8_t>(run.first);
    p[1] = static_cast<uint8_t>(run.first >> 8);
    p[2] = static_cast<uint8_t>(run.first >> 16);
    PutU16(p + 3, run.second);
    p += 5;
  }
  return r;
}

// Covers a picture of `pixels` pixels with runs of at most 65,535.
std::vector<std::pair<uint32_t, uint16_t>> Fill(int64_t pixels, uint32_t value) {
  std::vector<std::pair<uint32_t, uint16_t>> runs;
  for (; pixels > 0; pixels -= 65535) runs.push_back({value, static_cast<uint16_t>(std::min<int64_t>(pixels, 65535))});
  return runs;
}

TEST(FrameDecoder, UnchangedRecordOfTheRecorderIs53BytesAndChangesNothing) {
  const int64_t pixels = 885 * 638;  // 564,630
  const auto record = Record(Fill(pixels, 0));
  EXPECT_EQ(record.size(), 53u);
  std::vector<uint32_t> picture(static_cast<size_t>(pixels), 0x00123456);
  const auto r = ApplyFrameRecord(record.data(), static_cast<int32_t>(record.size()), picture.data(), pixels);
  EXPECT_EQ(r.Covered, pixels);
  EXPECT_FALSE(r.Clipped);
  EXPECT_EQ(picture, std::vector<uint32_t>(static_cast<size_t>(pixels), 0x00123456));
}

TEST(FrameDecoder, RunsCrossRowEndsInPictureOrder) {
  // 885 wide: a run of 100 pixels from column 800 ends 15 pixels into the next
  // row; one of 1,000 from column 800 covers the rest of the row, a whole row and 30 more.
  const int32_t width = 885, height = 4;
  for (uint16_t length : {uint16_t(100), uint16_t(1000)}) {
    std::vector<uint32_t> picture(width * height, 0);
    const auto record = Record({{0, 800}, {0xABCDEF, length}, {0, uint16_t(width * height - 800 - length)}});
    ApplyFrameRecord(record.data(), static_cast<int32_t>(record.size()), picture.data(), width * height);
    for (int32_t i = 0; i < width * height; ++i) {
      const bool inRun = i >= 800 && i < 800 + length;
      ASSERT_EQ(picture[i], inRun ? 0xABCDEFu : 0u) << "length " << length << " pixel " << i;
    }
  }
}

TEST(FrameDecoder, ValuesAreXoredOntoThePreviousPicture) {
  std::vector<uint32_t> picture = {0x000000, 0x0000FF, 0x00FF00, 0xFFFFFF};
  const auto record = Record({{0x0000FF, 2}, {0xFFFFFF, 2}});
  ApplyFrameRecord(record.data(), static_cast<int32_t>(record.size()), picture.data(), 4);
  EXPECT_EQ(picture, (std::vector<uint32_t>{0x0000FF, 0x000000, 0xFF00FF, 0x000000}));
  // The picture's fourth byte is not the film's: it is left alone.
  std::vector<uint32_t> marked = {0xFF000000u};
  const auto one = Record({{0x010203, 1}});
  ApplyFrameRecord(one.data(), static_cast<int32_t>(one.size()), marked.data(), 1);
  EXPECT_EQ(marked[0], 0xFF010203u);
}

TEST(FrameDecoder, MalformedRecordsNeverWriteOutsideThePicture) {
  struct Case {
    const char* comment;
    std::vector<uint8_t> record;
    int32_t lengthGiven;  // -1: the record's own size
    std::vector<uint32_t> expected;
    bool clipped;
  } cases[] = {
      {"runs cover more than the picture: clipped at its end", Record({{1, 3}, {2, 3}}), -1, {1, 1, 1, 2}, true},
      {"runs cover less: the rest stays as it was", Record({{7, 2}}), -1, {7, 7, 0, 0}, false},
      {"run count larger than the record holds", [] {
         auto r = Record({{5, 1}});
         PutI32(r.data() + 4, 1000000);
         return r;
       }(), -1, {5, 0, 0, 0}, false},
      {"record shorter than its header", Record({{5, 4}}), 6, {0, 0, 0, 0}, false},
      {"negative run count", [] {
         auto r = Record({{5, 4}});
         PutI32(r.data() + 4, -3);
         return r;
       }(), -1, {0, 0, 0, 0}, false},
  };
  for (const Case& c : cases) {
    std::vector<uint32_t> picture(4, 0);
    const int32_t length = c.lengthGiven < 0 ? static_cast<int32_t>(c.record.size()) : c.lengthGiven;
    const auto r = ApplyFrameRecord(c.record.data(), length, picture.data(), 4);
    EXPECT_EQ(picture, c.expected) << c.comment;
    EXPECT_EQ(r.Clipped, c.clipped) << c.comment;
  }
}

TEST(FrameDecoder, MaxFrameSizeIsFiveBytesPerPixel) { EXPECT_EQ(engine::MaxFrameSize(885, 638), 2823150); }

}  // namespace
