// libFuzzer target of the byte-level readers a film feeds: frame records applied
// to a small picture, cursor records, block filling and the cabinet file table.
// The first input byte chooses the reader; the sanitizers catch what goes
// outside a buffer.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/BlockFill.h"
#include "engine/FrameDecoder.h"
#include "film/CabTable.h"
#include "film/CursorRecord.h"
#include "foundation/zeClasses.h"

namespace {

TzeMemoryStream StreamOf(const uint8_t* data, size_t size) {
  TzeMemoryStream s;
  s.Write(data, static_cast<int32_t>(size));
  s.SetPosition(0);
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > (1u << 20)) return 0;
  const uint8_t which = data[0] % 4;
  ++data;
  --size;
  switch (which) {
    case 0: {  // a frame record on a 37 x 21 picture, given exactly its bytes
      std::vector<uint8_t> record(data, data + size);
      std::vector<uint32_t> picture(37 * 21);
      engine::ApplyFrameRecord(record.data(), static_cast<int32_t>(record.size()), picture.data(),
                               static_cast<int64_t>(picture.size()));
      break;
    }
    case 1: {  // cursor records back to back, as many as the bytes hold
      size_t at = 0;
      for (int i = 0; i < 16; ++i) {
        film::TCursorRecord record;
        const film::TCursorRead r = film::ReadCursorRecord(
            [&](void* buffer, int32_t count) -> int32_t {
              const size_t n = std::min(static_cast<size_t>(count), size - at);
              std::memcpy(buffer, data + at, n);
              at += n;
              return static_cast<int32_t>(n);
            },
            static_cast<int64_t>(size - at), record);
        if (r == film::TCursorRead::Damaged) break;
      }
      break;
    }
    case 2: {  // frame records into a small block
      TzeMemoryStream frames = StreamOf(data, size);
      std::vector<uint8_t> block(4096);
      int32_t dataSize = 0;
      while (engine::FillBlock(frames, block.data(), static_cast<int32_t>(block.size()), 100, dataSize) ==
             engine::TFillResult::Filled) {
      }
      break;
    }
    case 3: {  // a cabinet's file table
      TzeMemoryStream cab = StreamOf(data, size);
      try {
        WalkCabFileTable(cab, [](const TCabFileEntry&, bool&) {});
      } catch (const Exception&) {
        // a table that runs past the file raises the stream's read error
      }
      break;
    }
  }
  return 0;
}
