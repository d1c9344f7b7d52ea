// Streaming LZMA-alone decoder. The hot loop keeps the range coder, the state
// and the window position in locals and decodes whole symbols while at least
// kMaxSymbolInput input bytes remain; the last few bytes of a chunk go through a
// small buffer, where a dry run (the same code without side effects) tells
// whether a whole symbol is there before it is decoded for real.
#include "film/LzmaDecoder.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "foundation/Bytes.h"
#include "foundation/zeClasses.h"

namespace {

constexpr uint32_t kTopValue = 1u << 24;
constexpr unsigned kNumBitModelTotalBits = 11;
constexpr uint32_t kBitModelTotal = 1u << kNumBitModelTotalBits;
constexpr unsigned kNumMoveBits = 5;

constexpr uint32_t kNumStates = 12;
constexpr unsigned kPosBitsMax = 4;
constexpr uint32_t kEndPosModelIndex = 14;
constexpr uint32_t kNumFullDistances = 128;
constexpr unsigned kAlignBits = 4;
constexpr uint32_t kLenToPosStates = 4;
constexpr uint32_t kMatchMinLen = 2;
constexpr uint32_t kEndMarkerDistance = 0xFFFFFFFFu;

// A length coder: two choice bits, a 3-bit tree per position state for 2..9
// and for 10..17, one 8-bit tree for 18..273.
constexpr uint32_t kLenChoice = 0;
constexpr uint32_t kLenChoice2 = 1;
constexpr uint32_t kLenLow = 2;
constexpr uint32_t kLenMid = kLenLow + (1u << kPosBitsMax << 3);
constexpr uint32_t kLenHigh = kLenMid + (1u << kPosBitsMax << 3);
constexpr uint32_t kLenCoderSize = kLenHigh + 256;

// One flat array of probabilities; these are the offsets of its parts.
constexpr uint32_t kIsMatch = 0;
constexpr uint32_t kIsRep = kIsMatch + (kNumStates << kPosBitsMax);
constexpr uint32_t kIsRepG0 = kIsRep + kNumStates;
constexpr uint32_t kIsRepG1 = kIsRepG0 + kNumStates;
constexpr uint32_t kIsRepG2 = kIsRepG1 + kNumStates;
constexpr uint32_t kIsRep0Long = kIsRepG2 + kNumStates;
constexpr uint32_t kPosSlot = kIsRep0Long + (kNumStates << kPosBitsMax);
constexpr uint32_t kSpecPos = kPosSlot + (kLenToPosStates << 6);
constexpr uint32_t kAlign = kSpecPos + 1 + kNumFullDistances - kEndPosModelIndex;
constexpr uint32_t kLenCoder = kAlign + (1u << kAlignBits);
constexpr uint32_t kRepLenCoder = kLenCoder + kLenCoderSize;
constexpr uint32_t kLiteral = kRepLenCoder + kLenCoderSize;
constexpr uint32_t kLiteralCoderSize = 0x300;

uint64_t ProbCount(const TLzmaHeader& h) { return kLiteral + (uint64_t{kLiteralCoderSize} << (h.Lc + h.Lp)); }

// Copies n bytes of a match at distance dist + 1 inside the circular window.
// The caller has checked that dist < window size and that the bytes fit before
// the window's end.
inline void CopyMatch(uint8_t* dic, uint32_t dicSize, uint32_t dicPos, uint32_t dist, uint32_t n) {
  uint32_t src = dicPos - dist - 1;
  if (dicPos <= dist) src += dicSize;
  uint8_t* d = dic + dicPos;
  if (src + n <= dicSize) {
    const uint8_t* s = dic + src;
    if (src < dicPos) {
      const uint32_t gap = dist + 1;
      if (gap >= n) {
        std::memcpy(d, s, n);
      } else if (gap == 1) {
        std::memset(d, *s, n);
      } else if (n < 32) {
        for (uint32_t i = 0; i < n; ++i) d[i] = s[i];
      } else {
        // The pattern repeats every gap bytes: copy it in doubling blocks, each
        // from bytes already written, so no block overlaps its source.
        uint32_t done = 0;
        uint32_t block = gap;
        while (done < n) {
          const uint32_t k = std::min(block, n - done);
          std::memcpy(d + done, s, k);
          done += k;
          block += k;
        }
      }
    } else {
      // The source lies after the destination (older bytes at the window's end):
      // a forward copy never reads a byte it has already overwritten.
      std::memmove(d, s, n);
    }
  } else {
    for (uint32_t i = 0; i < n; ++i) {
      d[i] = dic[src];
      if (++src == dicSize) src = 0;
    }
  }
}

}  // namespace

const char* LzmaResultText(TLzmaResult result) {
  switch (result) {
    case TLzmaResult::Ok: return "Ok";
    case TLzmaResult::BadHeader: return "LZMA header incomplete";
    case TLzmaResult::BadProperties: return "LZMA properties byte invalid";
    case TLzmaResult::WindowTooLarge: return "LZMA dictionary larger than the memory limit";
    case TLzmaResult::OutOfMemory: return "Not enough memory for the LZMA dictionary";
    case TLzmaResult::CorruptData: return "LZMA data corrupt";
    case TLzmaResult::DistanceTooFar: return "LZMA match distance beyond the decoded data";
    case TLzmaResult::EarlyEndMarker: return "LZMA end marker before the stored size";
    case TLzmaResult::TruncatedInput: return "LZMA data ends too early";
    case TLzmaResult::ReadFailed: return "Cannot read the LZMA data";
    case TLzmaResult::WriteFailed: return "Cannot write the decoded data";
  }
  return "Unknown LZMA result";
}

TLzmaResult ParseLzmaHeader(const uint8_t* bytes, TLzmaHeader& header) {
  unsigned props = bytes[0];
  if (props >= 9 * 5 * 5) return TLzmaResult::BadProperties;
  header.Lc = props % 9;
  props /= 9;
  header.Lp = props % 5;
  header.Pb = props / 5;
  header.DictionarySize = GetU32(bytes + 1);
  header.DecodedSize = GetU64(bytes + 5);
  return TLzmaResult::Ok;
}

uint64_t LzmaWindowSize(const TLzmaHeader& header) {
  uint64_t w = header.DictionarySize;
  if (header.SizeKnown() && header.DecodedSize < w) w = header.DecodedSize;
  return std::max<uint64_t>(w, kLzmaMinWindow);
}

uint64_t LzmaMemoryNeeded(const TLzmaHeader& header) {
  return LzmaWindowSize(header) + ProbCount(header) * sizeof(uint16_t);
}

TLzmaResult TLzmaDecoder::Init(const TLzmaHeader& header, uint64_t memoryLimit) {
  FDic.reset();
  FProbs.clear();
  FDicSize = FDicPos = FDicOut = 0;
  FFull = false;
  FTotal = 0;
  FRange = FCode = 0;
  FState = 0;
  std::fill(FRep, FRep + 4, 0u);
  FRemainLen = 0;
  FRcReady = false;
  FEnded = false;
  FTempSize = 0;
  FHeader = header;
  FError = TLzmaResult::Ok;
  if (header.Lc > 8 || header.Lp > 4 || header.Pb > 4) {
    FError = TLzmaResult::BadProperties;
    return FError;
  }
  if (LzmaMemoryNeeded(header) > memoryLimit || LzmaWindowSize(header) > UINT32_MAX) {
    FError = TLzmaResult::WindowTooLarge;
    return FError;
  }
  try {
    FDicSize = static_cast<uint32_t>(LzmaWindowSize(header));
    FDic.reset(new uint8_t[FDicSize]);
    FProbs.assign(static_cast<size_t>(ProbCount(header)), static_cast<uint16_t>(kBitModelTotal / 2));
  } catch (const std::bad_alloc&) {
    FDic.reset();
    FDicSize = 0;
    FError = TLzmaResult::OutOfMemory;
    return FError;
  }
  if (header.DecodedSize == 0) FEnded = true;
  return TLzmaResult::Ok;
}

struct TLzmaDecoder::TRunResult {
  TLzmaResult Result;
  const uint8_t* In;  // input after the run
  bool NeedMore;      // dry run only: the symbol is not complete in the input
  bool Marker;        // the end marker was decoded
};

// One normalisation takes at most one byte; the dry run stops at the input's end.
#define LZMA_NORMALIZE                                                    \
  do {                                                                    \
    if (range < kTopValue) {                                              \
      if (kDry && in >= inEnd) return {TLzmaResult::Ok, in, true, false}; \
      range <<= 8;                                                        \
      code = (code << 8) | *in++;                                         \
    }                                                                     \
  } while (0)

// Decodes one bit with probability *prob into bit (0 or 1), adapting the model.
#define LZMA_BIT(prob, bit)                                                                 \
  do {                                                                                      \
    uint16_t* p_ = (prob);                                                                  \
    const uint32_t v_ = *p_;                                                                \
    const uint32_t bound_ = (range >> kNumBitModelTotalBits) * v_;                          \
    if (code < bound_) {                                                                    \
      range = bound_;                                                                       \
      if (!kDry) *p_ = static_cast<uint16_t>(v_ + ((kBitModelTotal - v_) >> kNumMoveBits)); \
      bit = 0;                                                                              \
    } else {                                                                                \
      range -= bound_;                                                                      \
      code -= bound_;                                                                       \
      if (!kDry) *p_ = static_cast<uint16_t>(v_ - (v_ >> kNumMoveBits));                    \
      bit = 1;                                                                              \
    }                                                                                       \
    LZMA_NORMALIZE;                                                                         \
  } while (0)

// One step down a bit tree: m is the node, 1 at the root.
#define LZMA_TREE_STEP(probs, m) \
  do {                           \
    uint32_t b_;                 \
    LZMA_BIT((probs) + (m), b_); \
    m = (m << 1) + b_;           \
  } while (0)

// A length (0-based, before adding the minimum of 2) from the coder at base.
#define LZMA_LENGTH(base, len)                          \
  do {                                                  \
    uint16_t* lc_ = probs + (base);                     \
    uint32_t c_;                                        \
    uint32_t m_ = 1;                                    \
    LZMA_BIT(lc_ + kLenChoice, c_);                     \
    if (c_ == 0) {                                      \
      uint16_t* t_ = lc_ + kLenLow + (posState << 3);   \
      LZMA_TREE_STEP(t_, m_);                           \
      LZMA_TREE_STEP(t_, m_);                           \
      LZMA_TREE_STEP(t_, m_);                           \
      len = m_ - 8;                                     \
    } else {                                            \
      LZMA_BIT(lc_ + kLenChoice2, c_);                  \
      if (c_ == 0) {                                    \
        uint16_t* t_ = lc_ + kLenMid + (posState << 3); \
        LZMA_TREE_STEP(t_, m_);                         \
        LZMA_TREE_STEP(t_, m_);                         \
        LZMA_TREE_STEP(t_, m_);                         \
        len = m_;                                       \
      } else {                                          \
        uint16_t* t_ = lc_ + kLenHigh;                  \
        do LZMA_TREE_STEP(t_, m_);                      \
        while (m_ < 0x100);                             \
        len = m_ - 0x100 + 16;                          \
      }                                                 \
    }                                                   \
  } while (0)

template <bool kDry>
TLzmaDecoder::TRunResult TLzmaDecoder::Run(const uint8_t* in, const uint8_t* inLimit, const uint8_t* inEnd,
                                           uint32_t dicLimit) {
  uint32_t range = FRange, code = FCode, state = FState;
  uint32_t rep0 = FRep[0], rep1 = FRep[1], rep2 = FRep[2], rep3 = FRep[3];
  uint32_t dicPos = FDicPos;
  const uint32_t startPos = dicPos;
  uint8_t* const dic = FDic.get();
  uint16_t* const probs = FProbs.data();
  const uint32_t dicSize = FDicSize;
  const bool full = FFull;
  // Low bits of the stream position of dic[0]; only the low bits matter.
  const uint32_t posBase = static_cast<uint32_t>(FTotal) - dicPos;
  const unsigned lc = FHeader.Lc;
  const uint32_t lpMask = (1u << FHeader.Lp) - 1;
  const uint32_t pbMask = (1u << FHeader.Pb) - 1;
  uint32_t remainLen = 0;
  bool marker = false;
  (void)inEnd;
  (void)inLimit;

  do {
    const uint32_t posState = (posBase + dicPos) & pbMask;
    uint32_t bit;
    LZMA_BIT(probs + kIsMatch + (state << kPosBitsMax) + posState, bit);
    if (bit == 0) {
      uint32_t prev = 0;
      if (dicPos > 0)
        prev = dic[dicPos - 1];
      else if (full)
        prev = dic[dicSize - 1];
      uint16_t* lit =
          probs + kLiteral + kLiteralCoderSize * ((((posBase + dicPos) & lpMask) << lc) + (prev >> (8 - lc)));
      uint32_t sym = 1;
      if (state < 7) {
        LZMA_TREE_STEP(lit, sym);
        LZMA_TREE_STEP(lit, sym);
        LZMA_TREE_STEP(lit, sym);
        LZMA_TREE_STEP(lit, sym);
        LZMA_TREE_STEP(lit, sym);
        LZMA_TREE_STEP(lit, sym);
        LZMA_TREE_STEP(lit, sym);
        LZMA_TREE_STEP(lit, sym);
      } else {
        // After a match the literal is coded against the byte at rep0 until the
        // first bit that differs from it.
        uint32_t src = dicPos - rep0 - 1;
        if (dicPos <= rep0) src += dicSize;
        uint32_t matchByte = dic[src];
        do {
          const uint32_t matchBit = (matchByte >> 7) & 1;
          matchByte <<= 1;
          uint32_t b;
          LZMA_BIT(lit + ((1 + matchBit) << 8) + sym, b);
          sym = (sym << 1) | b;
          if (matchBit != b) break;
        } while (sym < 0x100);
        while (sym < 0x100) LZMA_TREE_STEP(lit, sym);
      }
      state = state < 4 ? 0 : (state < 10 ? state - 3 : state - 6);
      if (!kDry) dic[dicPos] = static_cast<uint8_t>(sym);
      ++dicPos;
      continue;
    }

    uint32_t len;
    LZMA_BIT(probs + kIsRep + state, bit);
    if (bit == 0) {
      LZMA_LENGTH(kLenCoder, len);
      uint16_t* slotProbs = probs + kPosSlot + ((len < kLenToPosStates ? len : kLenToPosStates - 1) << 6);
      uint32_t slot = 1;
      for (int i = 0; i < 6; ++i) LZMA_TREE_STEP(slotProbs, slot);
      slot -= 64;
      uint32_t dist = slot;
      if (slot >= 4) {
        const unsigned directBits = (slot >> 1) - 1;
        dist = (2 | (slot & 1)) << directBits;
        uint16_t* rev;
        unsigned revBits;
        if (slot < kEndPosModelIndex) {
          rev = probs + kSpecPos + dist - slot;
          revBits = directBits;
        } else {
          uint32_t direct = 0;
          for (unsigned i = directBits - kAlignBits; i > 0; --i) {
            range >>= 1;
            const uint32_t b = code >= range ? 1u : 0u;
            code -= range & (0u - b);
            direct = (direct << 1) | b;
            LZMA_NORMALIZE;
          }
          dist += direct << kAlignBits;
          rev = probs + kAlign;
          revBits = kAlignBits;
        }
        uint32_t m = 1;
        for (unsigned i = 0; i < revBits; ++i) {
          uint32_t b;
          LZMA_BIT(rev + m, b);
          m = (m << 1) + b;
          dist += b << i;
        }
        if (dist == kEndMarkerDistance) {
          marker = true;
          break;
        }
      }
      if (!kDry && dist >= (full ? dicSize : dicPos)) return {TLzmaResult::DistanceTooFar, in, false, false};
      rep3 = rep2;
      rep2 = rep1;
      rep1 = rep0;
      rep0 = dist;
      state = state < 7 ? 7 : 10;
    } else {
      // A repeated distance needs history to repeat.
      if (!kDry && !full && dicPos == 0) return {TLzmaResult::CorruptData, in, false, false};
      LZMA_BIT(probs + kIsRepG0 + state, bit);
      if (bit == 0) {
        LZMA_BIT(probs + kIsRep0Long + (state << kPosBitsMax) + posState, bit);
        if (bit == 0) {
          // Short rep: one byte from rep0.
          state = state < 7 ? 9 : 11;
          if (!kDry) {
            uint32_t src = dicPos - rep0 - 1;
            if (dicPos <= rep0) src += dicSize;
            dic[dicPos] = dic[src];
          }
          ++dicPos;
          continue;
        }
      } else {
        uint32_t dist;
        LZMA_BIT(probs + kIsRepG1 + state, bit);
        if (bit == 0) {
          dist = rep1;
        } else {
          LZMA_BIT(probs + kIsRepG2 + state, bit);
          if (bit == 0) {
            dist = rep2;
          } else {
            dist = rep3;
            rep3 = rep2;
          }
          rep2 = rep1;
        }
        rep1 = rep0;
        rep0 = dist;
      }
      LZMA_LENGTH(kRepLenCoder, len);
      state = state < 7 ? 8 : 11;
    }
    len += kMatchMinLen;
    if (kDry) break;
    uint32_t n = dicLimit - dicPos;
    if (n > len) n = len;
    remainLen = len - n;
    CopyMatch(dic, dicSize, dicPos, rep0, n);
    dicPos += n;
  } while (!kDry && dicPos < dicLimit && in < inLimit);

  if (!kDry) {
    FRange = range;
    FCode = code;
    FState = state;
    FRep[0] = rep0;
    FRep[1] = rep1;
    FRep[2] = rep2;
    FRep[3] = rep3;
    FDicPos = dicPos;
    FRemainLen = remainLen;
    FTotal += dicPos - startPos;
  }
  return {TLzmaResult::Ok, in, false, marker};
}

#undef LZMA_NORMALIZE
#undef LZMA_BIT
#undef LZMA_TREE_STEP
#undef LZMA_LENGTH

TLzmaResult TLzmaDecoder::DecodeStep(const uint8_t* in, size_t inSize, size_t* inUsed, uint32_t budget) {
  *inUsed = 0;
  if (FError != TLzmaResult::Ok) return FError;
  if (FEnded) return TLzmaResult::Ok;
  if (FDicPos == FDicSize && FDicOut == FDicSize) {
    FDicPos = FDicOut = 0;
    FFull = true;
  }
  size_t used = 0;
  // The range coder starts with a zero byte and the 32-bit code.
  while (!FRcReady) {
    if (used == inSize) {
      *inUsed = used;
      return TLzmaResult::Ok;
    }
    FTemp[FTempSize++] = in[used++];
    if (FTempSize == 5) {
      if (FTemp[0] != 0) {
        *inUsed = used;
        return FError = TLzmaResult::CorruptData;
      }
      FCode = (uint32_t{FTemp[1]} << 24) | (uint32_t{FTemp[2]} << 16) | (uint32_t{FTemp[3]} << 8) | FTemp[4];
      FRange = 0xFFFFFFFFu;
      FTempSize = 0;
      FRcReady = true;
    }
  }

  TLzmaResult result = TLzmaResult::Ok;
  bool marker = false;
  for (;;) {
    uint32_t dicLimit = FDicPos + std::min<uint32_t>(budget, FDicSize - FDicPos);
    if (FHeader.SizeKnown()) {
      const uint64_t left = FHeader.DecodedSize - FTotal;
      if (left < dicLimit - FDicPos) dicLimit = FDicPos + static_cast<uint32_t>(left);
    }
    if (FRemainLen > 0 && FDicPos < dicLimit) {
      const uint32_t n = std::min(FRemainLen, dicLimit - FDicPos);
      CopyMatch(FDic.get(), FDicSize, FDicPos, FRep[0], n);
      FDicPos += n;
      FTotal += n;
      FRemainLen -= n;
    }
    // With a stored size, decoding stops right there: what follows is not read.
    if (FHeader.SizeKnown() && FTotal == FHeader.DecodedSize) {
      FEnded = true;
      break;
    }
    if (FDicPos >= dicLimit) break;

    size_t added;  // bytes of this call's input now in FTemp
    if (FTempSize == 0) {
      const size_t left = inSize - used;
      if (left >= kMaxSymbolInput) {
        const TRunResult r = Run<false>(in + used, in + inSize - kMaxSymbolInput + 1, in + inSize, dicLimit);
        used = static_cast<size_t>(r.In - in);
        if (r.Result != TLzmaResult::Ok) {
          result = r.Result;
          break;
        }
        if (r.Marker) {
          marker = true;
          break;
        }
        continue;
      }
      if (left == 0) break;
      std::memcpy(FTemp, in + used, left);
      FTempSize = left;
      used += left;
      added = left;
    } else {
      added = std::min(kMaxSymbolInput - FTempSize, inSize - used);
      std::memcpy(FTemp + FTempSize, in + used, added);
      FTempSize += added;
      used += added;
    }
    const TRunResult dry = Run<true>(FTemp, FTemp, FTemp + FTempSize, dicLimit);
    if (dry.NeedMore) {
      // Here all input is in FTemp; a full FTemp always holds a whole symbol.
      if (FTempSize >= kMaxSymbolInput) result = TLzmaResult::CorruptData;
      break;
    }
    const TRunResult r = Run<false>(FTemp, FTemp, FTemp + FTempSize, dicLimit);
    const size_t taken = static_cast<size_t>(r.In - FTemp);
    const size_t old = FTempSize - added;
    if (taken >= old) {
      used -= FTempSize - taken;  // give back what the symbol did not need
      FTempSize = 0;
    } else {
      std::memmove(FTemp, FTemp + taken, old - taken);
      FTempSize = old - taken;
      used -= added;
    }
    if (r.Result != TLzmaResult::Ok) {
      result = r.Result;
      break;
    }
    if (r.Marker) {
      marker = true;
      break;
    }
  }
  if (marker) {
    FEnded = true;
    // The marker is followed by the coder's flush, which leaves the code at 0.
    if (FHeader.SizeKnown())
      result = TLzmaResult::EarlyEndMarker;
    else if (FCode != 0)
      result = TLzmaResult::CorruptData;
  }
  *inUsed = used;
  FError = result;
  return result;
}

TLzmaResult TLzmaDecoder::DecodeToWindow(const uint8_t* in, size_t inSize, size_t* inUsed) {
  return DecodeStep(in, inSize, inUsed, UINT32_MAX);
}

const uint8_t* TLzmaDecoder::Output(size_t* size) const {
  *size = FDicPos - FDicOut;
  return FDic.get() + FDicOut;
}

void TLzmaDecoder::TakeOutput(size_t count) {
  FDicOut += static_cast<uint32_t>(std::min<size_t>(count, FDicPos - FDicOut));
  if (FDicOut == FDicSize && FDicPos == FDicSize) {
    FDicPos = FDicOut = 0;
    FFull = true;
  }
}

TLzmaResult TLzmaDecoder::Decode(const uint8_t* in, size_t inSize, size_t* inUsed, uint8_t* out, size_t outSize,
                                 size_t* outWritten) {
  *inUsed = 0;
  *outWritten = 0;
  for (;;) {
    size_t n;
    const uint8_t* p = Output(&n);
    n = std::min(n, outSize - *outWritten);
    if (n > 0) std::memcpy(out + *outWritten, p, n);
    TakeOutput(n);
    *outWritten += n;
    if (*outWritten == outSize) return FError;
    size_t used;
    const size_t budget = std::min<size_t>(outSize - *outWritten, UINT32_MAX);
    const TLzmaResult r = DecodeStep(in + *inUsed, inSize - *inUsed, &used, static_cast<uint32_t>(budget));
    *inUsed += used;
    if (r != TLzmaResult::Ok) return r;
    Output(&n);
    if (used == 0 && n == 0) return TLzmaResult::Ok;
  }
}

TLzmaResult DecodeLzmaBuffer(const uint8_t* data, size_t size, std::vector<uint8_t>& out, uint64_t memoryLimit) {
  out.clear();
  if (size < kLzmaHeaderSize) return TLzmaResult::BadHeader;
  TLzmaHeader header;
  TLzmaResult r = ParseLzmaHeader(data, header);
  if (r != TLzmaResult::Ok) return r;
  TLzmaDecoder decoder;
  r = decoder.Init(header, memoryLimit);
  if (r != TLzmaResult::Ok) return r;
  size_t pos = kLzmaHeaderSize;
  for (;;) {
    size_t used;
    r = decoder.DecodeToWindow(data + pos, size - pos, &used);
    pos += used;
    size_t n;
    const uint8_t* p = decoder.Output(&n);
    out.insert(out.end(), p, p + n);
    decoder.TakeOutput(n);
    if (r != TLzmaResult::Ok) return r;
    if (decoder.Finished()) return TLzmaResult::Ok;
    if (used == 0 && n == 0) return TLzmaResult::TruncatedInput;
  }
}

TLzmaResult DecodeLzmaStream(TzeStream& input, TzeStream& output, uint64_t memoryLimit) {
  constexpr int32_t kChunk = 256 * 1024;
  try {
    uint8_t headerBytes[kLzmaHeaderSize];
    int32_t got;
    try {
      got = input.Read(headerBytes, static_cast<int32_t>(kLzmaHeaderSize));
    } catch (const std::exception&) {
      return TLzmaResult::ReadFailed;
    }
    if (got != static_cast<int32_t>(kLzmaHeaderSize)) return TLzmaResult::BadHeader;
    TLzmaHeader header;
    TLzmaResult r = ParseLzmaHeader(headerBytes, header);
    if (r != TLzmaResult::Ok) return r;
    TLzmaDecoder decoder;
    r = decoder.Init(header, memoryLimit);
    if (r != TLzmaResult::Ok) return r;

    std::vector<uint8_t> buffer(kChunk);
    size_t pos = 0, len = 0;
    bool eof = false;
    for (;;) {
      if (pos == len && !eof) {
        try {
          got = input.Read(buffer.data(), kChunk);
        } catch (const std::exception&) {
          return TLzmaResult::ReadFailed;
        }
        pos = 0;
        len = got > 0 ? static_cast<size_t>(got) : 0;
        eof = got <= 0;
      }
      size_t used;
      r = decoder.DecodeToWindow(buffer.data() + pos, len - pos, &used);
      pos += used;
      if (r != TLzmaResult::Ok) return r;
      size_t n;
      const uint8_t* p = decoder.Output(&n);
      if (n > 0) {
        int32_t wrote;
        try {
          wrote = output.Write(p, static_cast<int32_t>(n));
        } catch (const std::exception&) {
          return TLzmaResult::WriteFailed;
        }
        if (wrote != static_cast<int32_t>(n)) return TLzmaResult::WriteFailed;
        decoder.TakeOutput(n);
      }
      if (decoder.Finished()) return TLzmaResult::Ok;
      if (used == 0 && n == 0 && pos == len && eof) return TLzmaResult::TruncatedInput;
    }
  } catch (const std::bad_alloc&) {
    return TLzmaResult::OutOfMemory;
  }
}
