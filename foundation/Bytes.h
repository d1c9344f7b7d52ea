// Little-endian reads and writes of fixed-size fields in byte buffers.
#pragma once

#include <cstdint>
#include <cstring>

inline uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline int16_t GetI16(const uint8_t* p) { return static_cast<int16_t>(GetU16(p)); }
inline uint32_t GetU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
inline int32_t GetI32(const uint8_t* p) { return static_cast<int32_t>(GetU32(p)); }
inline uint64_t GetU64(const uint8_t* p) { return GetU32(p) | (static_cast<uint64_t>(GetU32(p + 4)) << 32); }
inline float GetF32(const uint8_t* p) {
  const uint32_t bits = GetU32(p);
  float f;
  std::memcpy(&f, &bits, 4);
  return f;
}

inline void PutU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void PutI32(uint8_t* p, int32_t v) { PutU32(p, static_cast<uint32_t>(v)); }
inline void PutU64(uint8_t* p, uint64_t v) {
  PutU32(p, static_cast<uint32_t>(v));
  PutU32(p + 4, static_cast<uint32_t>(v >> 32));
}
inline void PutF32(uint8_t* p, float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, 4);
  PutU32(p, bits);
}
