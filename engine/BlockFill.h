// Filling a block with whole frame records read from a segment's frame data.
// A record never straddles two blocks: filling stops while the space left
// could be too small for the largest record the picture can need.
#pragma once

#include <cstdint>

#include "engine/FrameDecoder.h"
#include "foundation/zeClasses.h"

namespace engine {

constexpr int32_t kBlockSize = 16777216;

enum class TFillResult {
  Filled,     // at least one record was read
  Nothing,    // the stream was already at its end
  BadLength,  // a record length of 0 or less, or one that cannot fit a block
  ShortRead,  // a record cut short by the end of the stream
};

// Reads records from the stream's position into data (blockSize bytes) and sets
// dataSize to the bytes of whole, sound records read (also when a broken one
// ends the fill). maxFrameSize: the largest record the segment's picture allows.
TFillResult FillBlock(TzeStream& frames, uint8_t* data, int32_t blockSize, int64_t maxFrameSize, int32_t& dataSize);

// True when a picture's largest possible record fits an empty block.
inline bool PictureFitsBlock(int64_t maxFrameSize, int32_t blockSize = kBlockSize) {
  return maxFrameSize + 8 <= blockSize;
}

}  // namespace engine
