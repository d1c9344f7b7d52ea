// libFuzzer target of the LZMA-alone decoder: decodes each input whole, then
// again in pieces whose sizes come from the input's length, and traps when the
// two disagree. The sanitizers catch what goes outside a buffer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "film/LzmaDecoder.h"

namespace {

constexpr uint64_t kMemoryLimit = 16u << 20;
constexpr size_t kOutputCap = 8u << 20;  // a few bytes can stand for gigabytes

struct TOutcome {
  TLzmaResult result = TLzmaResult::Ok;
  bool capped = false;
  std::vector<uint8_t> out;
};

TOutcome DecodeWhole(const uint8_t* data, size_t size) {
  TOutcome o;
  TLzmaHeader header;
  if ((o.result = ParseLzmaHeader(data, header)) != TLzmaResult::Ok) return o;
  TLzmaDecoder decoder;
  if ((o.result = decoder.Init(header, kMemoryLimit)) != TLzmaResult::Ok) return o;
  size_t pos = kLzmaHeaderSize;
  for (;;) {
    size_t used, n;
    o.result = decoder.DecodeToWindow(data + pos, size - pos, &used);
    pos += used;
    const uint8_t* p = decoder.Output(&n);
    if (o.result != TLzmaResult::Ok) return o;
    o.out.insert(o.out.end(), p, p + n);
    decoder.TakeOutput(n);
    if (decoder.Finished()) return o;
    if (o.out.size() >= kOutputCap) {
      o.out.resize(kOutputCap);
      o.capped = true;
      return o;
    }
    if (used == 0 && n == 0) {
      o.result = TLzmaResult::TruncatedInput;
      return o;
    }
  }
}

TOutcome DecodePieces(const uint8_t* data, size_t size) {
  TOutcome o;
  TLzmaHeader header;
  if ((o.result = ParseLzmaHeader(data, header)) != TLzmaResult::Ok) return o;
  TLzmaDecoder decoder;
  if ((o.result = decoder.Init(header, kMemoryLimit)) != TLzmaResult::Ok) return o;
  uint32_t seed = static_cast<uint32_t>(size) * 2654435761u;
  auto next = [&seed](uint32_t n) {
    seed = seed * 1664525u + 1013904223u;
    return 1 + (seed >> 8) % n;
  };
  uint8_t buffer[300];
  size_t pos = kLzmaHeaderSize;
  for (;;) {
    const size_t inChunk = std::min<size_t>(next(60), size - pos);
    const size_t outChunk = next(sizeof buffer);
    size_t used, written;
    o.result = decoder.Decode(data + pos, inChunk, &used, buffer, outChunk, &written);
    if (o.result != TLzmaResult::Ok) return o;
    pos += used;
    o.out.insert(o.out.end(), buffer, buffer + written);
    if (decoder.Finished()) return o;
    if (o.out.size() >= kOutputCap) {
      o.out.resize(kOutputCap);
      o.capped = true;
      return o;
    }
    if (used == 0 && written == 0 && pos == size) {
      o.result = TLzmaResult::TruncatedInput;
      return o;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kLzmaHeaderSize) return 0;
  const TOutcome whole = DecodeWhole(data, size);
  const TOutcome pieces = DecodePieces(data, size);
  // Output before a failure may differ in how much was delivered; results and
  // everything delivered must agree.
  if (whole.capped || pieces.capped) {
    const size_t n = std::min(whole.out.size(), pieces.out.size());
    if (std::memcmp(whole.out.data(), pieces.out.data(), n) != 0) __builtin_trap();
    return 0;
  }
  if (whole.result != pieces.result) __builtin_trap();
  if (whole.result == TLzmaResult::Ok && whole.out != pieces.out) __builtin_trap();
  const size_t n = std::min(whole.out.size(), pieces.out.size());
  if (n > 0 && std::memcmp(whole.out.data(), pieces.out.data(), n) != 0) __builtin_trap();
  return 0;
}
