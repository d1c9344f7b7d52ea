// The film container's byte layout: the executable's tail, the directory, the
// 54-byte segment header, the flags word, the cursor record and the cursor track.
// The player's loader reads with it and the film writer writes with it, so the
// two cannot drift apart. All integers little-endian, structures packed.
#pragma once

#include <cstdint>

namespace film {

// --- executable tail: [language text L][L][film N][N] at the end of the file ---
struct TTail {
  int64_t FilmStart = 0;      // position of the film's first byte
  int32_t FilmSize = 0;       // N; 0: no film
  int64_t LanguageStart = 0;  // position of the language text
  int32_t LanguageSize = 0;   // L; 0: no language table
};
constexpr int32_t kTailFieldSize = 4;
// Position of N: fileSize - 4. Position of L, given N: fileSize - N - 8.
inline int64_t FilmSizePosition(int64_t fileSize) { return fileSize - 4; }
inline int64_t LanguageSizePosition(int64_t fileSize, int32_t filmSize) { return fileSize - filmSize - 8; }
// True when N and L describe a tail that lies inside a file of fileSize bytes:
// 0 <= N <= S - 8 and 0 <= L <= S - N - 8. Anything else is read as no tail.
bool DecodeTail(int64_t fileSize, int32_t filmSize, int32_t languageSize, TTail& tail);

// --- directory -------------------------------------------------------------------
constexpr int32_t kDirCountSize = 4;
constexpr int32_t kDirEntrySize = 6;
constexpr int16_t kEntrySegment = 1;
struct TDirEntry {
  int32_t Offset;  // from the film's first byte
  int16_t Kind;    // 1: segment; others are ignored
};
TDirEntry DecodeDirEntry(const uint8_t* bytes);
void EncodeDirEntry(const TDirEntry& entry, uint8_t* bytes);

// --- segment header ----------------------------------------------------------------
constexpr int32_t kSegmentHeaderSize = 54;
constexpr uint8_t kNewestReadableVersion = 1;
struct TSegmentHeader {
  uint8_t Version = 1;
  int32_t Width = 0;
  int32_t Height = 0;
  uint8_t BitsPerPixel = 0;
  float FrameRate = 0;
  uint32_t Flags = 0;
  int32_t FrameCount = 0;
  int32_t CursorCount = 0;
  int32_t CursorTrackSize = 0;
  int32_t ThirdBlockSize = 0;
  int32_t FrameDataSize = 0;
  int32_t PayloadSize = 0;
  int32_t PayloadOffset = 0;  // from the header's first byte
  int32_t SoundSize = 0;
  int32_t SoundOffset = 0;  // from the header's first byte
};
TSegmentHeader DecodeSegmentHeader(const uint8_t* bytes);
void EncodeSegmentHeader(const TSegmentHeader& header, uint8_t* bytes);

// --- flags word --------------------------------------------------------------------
enum TCompression : uint32_t { cmCabinet = 0, cmLzma = 2 };
enum TSoundKind : uint32_t { skWav = 0, skMp3 = 1, skMidi = 2 };
inline uint32_t CompressionOf(uint32_t flags) { return (flags >> 12) & 0xF; }
inline uint32_t SoundKindOf(uint32_t flags) { return (flags >> 8) & 0xF; }
inline bool ThreeTicksPerFrame(uint32_t flags) { return (flags & 1) != 0; }
inline uint32_t MakeFlags(uint32_t compression, uint32_t soundKind, bool threeTicks) {
  return (compression << 12) | (soundKind << 8) | (threeTicks ? 1u : 0u);
}

// The header's rate rounded to the nearest integer, halves to even, low 8 bits kept.
uint8_t RoundFrameRate(float rate);

// --- LZMA-alone payload: [properties][dictionary size][decoded size][LZMA data] ---
constexpr int32_t kLzmaHeaderSize = 13;
constexpr int32_t kLzmaPropertiesOffset = 0;
constexpr int32_t kLzmaDictionaryOffset = 1;
constexpr int32_t kLzmaDecodedSizeOffset = 5;
constexpr uint64_t kLzmaSizeUnknown = ~0ull;  // the data ends with an end marker instead
// What the recorder writes: lc 3, lp 0, pb 2 and an 8 MiB dictionary.
constexpr uint8_t kRecorderLzmaProperties = 0x5D;
constexpr uint32_t kRecorderLzmaDictionary = 8u << 20;

// --- unpacked payload: [T][title][cursor records][frame data][cursor track][third block]
constexpr int32_t kTitleLengthSize = 4;
constexpr int32_t kTitleFieldSize = 256;  // a short string: length byte and up to 255 characters
constexpr int32_t kTitleMaxChars = kTitleFieldSize - 1;

// --- cursor record: [hot x][hot y][mask info][mask bits][colour info][colour bits] ---
constexpr int32_t kHotSpotSize = 8;
constexpr int32_t kImageInfoSize = 13;  // size, width, height (32-bit each), bits per pixel
constexpr int32_t kMaskInfoOffset = kHotSpotSize;
constexpr int32_t kMaskBitsOffset = kMaskInfoOffset + kImageInfoSize;
// The fixed part of a record; the colour info follows the mask bits.
constexpr int32_t kCursorRecordFixedSize = kHotSpotSize + 2 * kImageInfoSize;
// A record's size from its two size fields; sizes of 0 or less mean no bits.
inline int64_t CursorRecordSize(int32_t maskSize, int32_t colorSize) {
  return kCursorRecordFixedSize + (maskSize > 0 ? maskSize : 0) + (colorSize > 0 ? colorSize : 0);
}
struct TImageInfo {
  int32_t Size = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  uint8_t BitsPerPixel = 0;
};
TImageInfo DecodeImageInfo(const uint8_t* bytes);
void EncodeImageInfo(const TImageInfo& info, uint8_t* bytes);
// Bytes of a monochrome device-dependent bitmap (rows padded to 16 bits).
int64_t MaskBytes(int32_t width, int32_t height, int32_t bitsPerPixel);
// Bytes of a top-down DIB without colour table (rows padded to 32 bits).
int64_t DibBytes(int32_t width, int32_t height, int32_t bitsPerPixel);

// --- frame record: [length 8 + 5n][run count n][n runs of value (B, G, R) and length] ---
constexpr int32_t kFrameHeaderSize = 8;
constexpr int32_t kFrameLengthOffset = 0;
constexpr int32_t kFrameRunCountOffset = 4;
constexpr int32_t kRunSize = 5;
constexpr int32_t kRunValueSize = 3;
constexpr int32_t kMaxRunLength = 65535;
constexpr uint32_t kRunValueMask = 0x00FFFFFF;
struct TRun {
  uint32_t Value;   // blue in the low byte, then green, then red
  uint16_t Length;  // pixels, 1 to 65,535
};
inline int64_t FrameRecordSize(int64_t runCount) { return kFrameHeaderSize + kRunSize * runCount; }
TRun DecodeRun(const uint8_t* bytes);
void EncodeRun(const TRun& run, uint8_t* bytes);

// --- cursor track: one entry per clock tick ----------------------------------------
constexpr int32_t kTrackEntrySize = 6;
struct TTrackEntry {
  uint16_t Cursor;  // index into the segment's cursor list
  uint16_t X, Y;
};
TTrackEntry DecodeTrackEntry(const uint8_t* bytes);
void EncodeTrackEntry(const TTrackEntry& entry, uint8_t* bytes);

}  // namespace film
