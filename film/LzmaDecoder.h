// The player's own streaming decoder of LZMA-alone payloads (13-byte header, then
// range-coded LZMA data). It decodes a segment's payload file into the unpacked
// payload file without holding either in memory: only the window (the smaller of
// the dictionary and the stored decoded size) and the probability model.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class TzeStream;

enum class TLzmaResult {
  Ok,
  BadHeader,       // fewer than 13 header bytes
  BadProperties,   // properties byte 225 or more (lc > 8, lp > 4 or pb > 4 cannot be expressed)
  WindowTooLarge,  // the window would exceed the memory limit: refused before allocating
  OutOfMemory,     // the system refused a window within the limit
  CorruptData,     // the range coder or the model says the data is not LZMA
  DistanceTooFar,  // a match reaches back before the first decoded byte or beyond the window
  EarlyEndMarker,  // an end marker before the stored decoded size was reached
  TruncatedInput,  // the input ended before the stored size or before the end marker
  ReadFailed,      // the input stream raised an error
  WriteFailed,     // the output stream took fewer bytes than it was given
};

const char* LzmaResultText(TLzmaResult result);

constexpr size_t kLzmaHeaderSize = 13;
constexpr uint64_t kLzmaSizeUnknown = ~0ull;
// 1.5 GiB: what a 32-bit player can still hope to allocate for a window.
constexpr uint64_t kLzmaDefaultMemoryLimit = 1536ull << 20;
constexpr uint32_t kLzmaMinWindow = 4096;

struct TLzmaHeader {
  unsigned Lc = 3, Lp = 0, Pb = 2;
  uint32_t DictionarySize = 0;
  uint64_t DecodedSize = kLzmaSizeUnknown;  // kLzmaSizeUnknown: ends with an end marker
  bool SizeKnown() const { return DecodedSize != kLzmaSizeUnknown; }
};

// Decodes the 13 header bytes; BadProperties for a properties byte of 225 or more.
TLzmaResult ParseLzmaHeader(const uint8_t* bytes, TLzmaHeader& header);

// The window a stream needs: min(dictionary, stored size), at least kLzmaMinWindow.
uint64_t LzmaWindowSize(const TLzmaHeader& header);
// The window plus the probability model, in bytes.
uint64_t LzmaMemoryNeeded(const TLzmaHeader& header);

// A resumable decoder of the LZMA data after the header. It takes input in any
// chunking (down to one byte at a time) and produces the same output; it decodes
// into its circular window, from which the caller takes the new bytes.
class TLzmaDecoder {
 public:
  TLzmaDecoder() = default;
  TLzmaDecoder(const TLzmaDecoder&) = delete;
  TLzmaDecoder& operator=(const TLzmaDecoder&) = delete;

  // Checks the memory the header needs against memoryLimit before allocating.
  TLzmaResult Init(const TLzmaHeader& header, uint64_t memoryLimit = kLzmaDefaultMemoryLimit);

  // Decodes from in[0..inSize) into the window until the input is used up (the
  // tail of an unfinished symbol is kept inside), the window is full of bytes not
  // yet taken, or the stream ends. *inUsed tells how much input was taken; bytes
  // past the end of the stream are not taken. A failure is final.
  TLzmaResult DecodeToWindow(const uint8_t* in, size_t inSize, size_t* inUsed);
  // The decoded bytes not taken yet (a contiguous part of the window).
  const uint8_t* Output(size_t* size) const;
  // Marks the first count bytes of Output as taken.
  void TakeOutput(size_t count);

  // The same, copying into the caller's buffer: decodes at most outSize bytes.
  TLzmaResult Decode(const uint8_t* in, size_t inSize, size_t* inUsed, uint8_t* out, size_t outSize,
                     size_t* outWritten);

  // The stream has ended (stored size reached or end marker) and all output was taken.
  bool Finished() const { return FEnded && FDicOut == FDicPos; }
  // The stream has ended; some output may still wait to be taken.
  bool Ended() const { return FEnded; }
  uint64_t DecodedCount() const { return FTotal; }

  // Input of one symbol never exceeds this: every range-coder bit takes at most
  // one byte, and a match with the longest distance has 48 bits.
  static constexpr size_t kMaxSymbolInput = 48;

 private:
  struct TRunResult;
  template <bool kDry>
  TRunResult Run(const uint8_t* in, const uint8_t* inLimit, const uint8_t* inEnd, uint32_t dicLimit);
  TLzmaResult DecodeStep(const uint8_t* in, size_t inSize, size_t* inUsed, uint32_t dicCap);
  void Fail(TLzmaResult r) { FError = r; }

  TLzmaHeader FHeader;
  std::unique_ptr<uint8_t[]> FDic;
  uint32_t FDicSize = 0;
  uint32_t FDicPos = 0;  // next byte to decode
  uint32_t FDicOut = 0;  // first byte not taken
  bool FFull = false;    // the window has wrapped: all of it holds history
  std::vector<uint16_t> FProbs;
  uint64_t FTotal = 0;  // bytes decoded
  uint32_t FRange = 0, FCode = 0;
  uint32_t FState = 0;
  uint32_t FRep[4] = {0, 0, 0, 0};
  uint32_t FRemainLen = 0;  // bytes of a match still to copy
  bool FRcReady = false;    // the range coder's five start bytes were read
  bool FEnded = false;
  TLzmaResult FError = TLzmaResult::Ok;
  uint8_t FTemp[kMaxSymbolInput];
  size_t FTempSize = 0;
};

// Decodes a whole LZMA-alone stream (header included) held in memory; used by
// tests and the fuzz target. TruncatedInput when the data ends too early.
TLzmaResult DecodeLzmaBuffer(const uint8_t* data, size_t size, std::vector<uint8_t>& out,
                             uint64_t memoryLimit = kLzmaDefaultMemoryLimit);

// Decodes the LZMA-alone stream that starts at input's position and writes the
// decoded bytes to output. On failure output holds a partial result the caller
// deletes.
TLzmaResult DecodeLzmaStream(TzeStream& input, TzeStream& output, uint64_t memoryLimit = kLzmaDefaultMemoryLimit);
