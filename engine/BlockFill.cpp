#include "engine/BlockFill.h"

#include "foundation/Bytes.h"

namespace engine {

TFillResult FillBlock(TzeStream& frames, uint8_t* data, int32_t blockSize, int64_t maxFrameSize, int32_t& dataSize) {
  dataSize = 0;
  bool readAny = false;
  const int32_t size = frames.GetSize();
  while (frames.GetPosition() < size) {
    readAny = true;
    uint8_t* at = data + dataSize;
    if (frames.Read(at, 4) != 4) return TFillResult::ShortRead;
    const int32_t length = GetI32(at);
    // A length the block cannot hold would be read past its end.
    if (length < kRecordHeaderSize || length > blockSize - dataSize) return TFillResult::BadLength;
    if (frames.Read(at + 4, length - 4) != length - 4) return TFillResult::ShortRead;
    dataSize += length;
    if (static_cast<int64_t>(blockSize) - dataSize - 8 < maxFrameSize) break;  // the next record might not fit
  }
  return readAny ? TFillResult::Filled : TFillResult::Nothing;
}

}  // namespace engine
