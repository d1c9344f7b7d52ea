// Filling blocks with whole frame records: where a fill stops, and records that
// are cut short or cannot fit.
#include "engine/BlockFill.h"

#include <gtest/gtest.h>

#include <vector>

#include "foundation/Bytes.h"

using engine::FillBlock;
using engine::TFillResult;

namespace {

// A frame stream of records of the given lengths (contents: the record index).
TzeMemoryStream Frames(const std::vector<int32_t>& lengths) {
  TzeMemoryStream s;
  for (size_t i = 0; i < lengths.size(); ++i) {
    std::vector<uint8_t> r(static_cast<size_t>(std::max(lengths[i], 4)), static_cast<uint8_t>(i));
    PutI32(r.data(), lengths[i]);
    s.Write(r.data(), static_cast<int32_t>(r.size()));
  }
  s.SetPosition(0);
  return s;
}

TEST(BlockFill, StopsWhenTheLargestRecordMightNotFit) {
  // A 100-byte block with records of 30 bytes and a largest possible record of
  // 40: after two records 100 - 60 - 8 = 32 < 40, so the fill stops there.
  auto frames = Frames({30, 30, 30, 30});
  std::vector<uint8_t> block(100);
  int32_t size = -1;
  EXPECT_EQ(FillBlock(frames, block.data(), 100, 40, size), TFillResult::Filled);
  EXPECT_EQ(size, 60);
  EXPECT_EQ(frames.GetPosition(), 60);
  EXPECT_EQ(block[30 + 4], 1);  // the second record follows the first
  // The next fill goes on where this one stopped.
  EXPECT_EQ(FillBlock(frames, block.data(), 100, 40, size), TFillResult::Filled);
  EXPECT_EQ(size, 60);
  EXPECT_EQ(FillBlock(frames, block.data(), 100, 40, size), TFillResult::Nothing);
  EXPECT_EQ(size, 0);
}

TEST(BlockFill, RecorderSizedFirstBlockOfTheWorkedExample) {
  // 885 x 638 pixels: the largest record is 2,823,150 bytes. 13,959,418 bytes of
  // records leave 2,817,790 bytes (after 8), too few: the block is closed.
  EXPECT_LT(engine::kBlockSize - 13959418 - 8, engine::MaxFrameSize(885, 638));
  EXPECT_TRUE(engine::PictureFitsBlock(engine::MaxFrameSize(885, 638)));
  EXPECT_FALSE(engine::PictureFitsBlock(engine::MaxFrameSize(2048, 1639)));
}

TEST(BlockFill, BrokenRecords) {
  struct Case {
    const char* comment;
    std::vector<int32_t> lengths;
    int32_t truncateTo;  // -1: keep the whole stream
    TFillResult result;
  } cases[] = {
      {"zero length", {12, 0}, -1, TFillResult::BadLength},
      {"negative length", {-5}, -1, TFillResult::BadLength},
      {"longer than a block", {12, 200}, -1, TFillResult::BadLength},
      {"cut short by the end of the stream", {12, 20}, 25, TFillResult::ShortRead},
      {"length field cut short", {12, 20}, 14, TFillResult::ShortRead},
  };
  for (const Case& c : cases) {
    auto frames = Frames(c.lengths);
    TzeMemoryStream cut;
    if (c.truncateTo >= 0) {
      cut.CopyFrom(frames, c.truncateTo);
      cut.SetPosition(0);
    }
    std::vector<uint8_t> block(100);
    int32_t size = 0;
    EXPECT_EQ(FillBlock(c.truncateTo >= 0 ? static_cast<TzeStream&>(cut) : frames, block.data(), 100, 10, size),
              c.result)
        << c.comment;
  }
}

}  // namespace
