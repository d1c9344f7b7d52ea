#include "film/FilmFormat.h"

#include <cmath>

#include "foundation/Bytes.h"

namespace film {

bool DecodeTail(int64_t fileSize, int32_t filmSize, int32_t languageSize, TTail& tail) {
  if (filmSize < 0 || filmSize > fileSize - 8) return false;
  if (languageSize < 0 || languageSize > fileSize - filmSize - 8) return false;
  tail.FilmSize = filmSize;
  tail.FilmStart = fileSize - filmSize - 4;
  tail.LanguageSize = languageSize;
  tail.LanguageStart = fileSize - filmSize - 8 - languageSize;
  return true;
}

TDirEntry DecodeDirEntry(const uint8_t* b) { return {GetI32(b), GetI16(b + 4)}; }

void EncodeDirEntry(const TDirEntry& e, uint8_t* b) {
  PutI32(b, e.Offset);
  PutU16(b + 4, static_cast<uint16_t>(e.Kind));
}

TSegmentHeader DecodeSegmentHeader(const uint8_t* b) {
  TSegmentHeader h;
  h.Version = b[0];
  h.Width = GetI32(b + 1);
  h.Height = GetI32(b + 5);
  h.BitsPerPixel = b[9];
  h.FrameRate = GetF32(b + 10);
  h.Flags = GetU32(b + 14);
  h.FrameCount = GetI32(b + 18);
  h.CursorCount = GetI32(b + 22);
  h.CursorTrackSize = GetI32(b + 26);
  h.ThirdBlockSize = GetI32(b + 30);
  h.FrameDataSize = GetI32(b + 34);
  h.PayloadSize = GetI32(b + 38);
  h.PayloadOffset = GetI32(b + 42);
  h.SoundSize = GetI32(b + 46);
  h.SoundOffset = GetI32(b + 50);
  return h;
}

void EncodeSegmentHeader(const TSegmentHeader& h, uint8_t* b) {
  b[0] = h.Version;
  PutI32(b + 1, h.Width);
  PutI32(b + 5, h.Height);
  b[9] = h.BitsPerPixel;
  PutF32(b + 10, h.FrameRate);
  PutU32(b + 14, h.Flags);
  PutI32(b + 18, h.FrameCount);
  PutI32(b + 22, h.CursorCount);
  PutI32(b + 26, h.CursorTrackSize);
  PutI32(b + 30, h.ThirdBlockSize);
  PutI32(b + 34, h.FrameDataSize);
  PutI32(b + 38, h.PayloadSize);
  PutI32(b + 42, h.PayloadOffset);
  PutI32(b + 46, h.SoundSize);
  PutI32(b + 50, h.SoundOffset);
}

uint8_t RoundFrameRate(float rate) {
  // nearbyint rounds halves to even in the default rounding mode; a rate that is
  // not a number or far out of range gives 0 rather than undefined behaviour.
  const double r = std::nearbyint(static_cast<double>(rate));
  if (!(r > -2147483648.0 && r < 2147483648.0)) return 0;
  return static_cast<uint8_t>(static_cast<int64_t>(r) & 0xFF);
}

TImageInfo DecodeImageInfo(const uint8_t* b) { return {GetI32(b), GetI32(b + 4), GetI32(b + 8), b[12]}; }

void EncodeImageInfo(const TImageInfo& i, uint8_t* b) {
  PutI32(b, i.Size);
  PutI32(b + 4, i.Width);
  PutI32(b + 8, i.Height);
  b[12] = i.BitsPerPixel;
}

int64_t MaskBytes(int32_t width, int32_t height, int32_t bitsPerPixel) {
  if (width <= 0 || height <= 0 || bitsPerPixel <= 0) return 0;
  return (static_cast<int64_t>(width) * bitsPerPixel + 15) / 16 * 2 * height;
}

int64_t DibBytes(int32_t width, int32_t height, int32_t bitsPerPixel) {
  if (width <= 0 || height <= 0 || bitsPerPixel <= 0) return 0;
  return (static_cast<int64_t>(width) * bitsPerPixel + 31) / 32 * 4 * height;
}

TRun DecodeRun(const uint8_t* b) {
  return {static_cast<uint32_t>(b[0] | (b[1] << 8) | (b[2] << 16)), GetU16(b + kRunValueSize)};
}

void EncodeRun(const TRun& r, uint8_t* b) {
  b[0] = static_cast<uint8_t>(r.Value);
  b[1] = static_cast<uint8_t>(r.Value >> 8);
  b[2] = static_cast<uint8_t>(r.Value >> 16);
  PutU16(b + kRunValueSize, r.Length);
}

TTrackEntry DecodeTrackEntry(const uint8_t* b) { return {GetU16(b), GetU16(b + 2), GetU16(b + 4)}; }

void EncodeTrackEntry(const TTrackEntry& e, uint8_t* b) {
  PutU16(b, e.Cursor);
  PutU16(b + 2, e.X);
  PutU16(b + 4, e.Y);
}

}  // namespace film
