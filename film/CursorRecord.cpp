#include "film/CursorRecord.h"

#include <algorithm>

#include "foundation/Bytes.h"

namespace film {

namespace {

bool ReadExactly(const TReadFn& read, void* buffer, int64_t count) {
  return count <= 0 || read(buffer, static_cast<int32_t>(count)) == count;
}

bool SideOk(int32_t side) { return side > 0 && side <= kMaxCursorSide; }

// The mask is a monochrome device-dependent bitmap whose size must be what its
// width and height make; the colour image a DIB without colour table, so only
// depths that need none.
bool MaskMatches(const TImageInfo& m) {
  return m.Size <= 0 || (m.BitsPerPixel == 1 && SideOk(m.Width) && SideOk(m.Height) &&
                         m.Size == MaskBytes(m.Width, m.Height, 1));
}

bool ColorMatches(const TImageInfo& c) {
  const bool depthOk = c.BitsPerPixel == 16 || c.BitsPerPixel == 24 || c.BitsPerPixel == 32;
  return c.Size <= 0 ||
         (depthOk && SideOk(c.Width) && SideOk(c.Height) && c.Size == DibBytes(c.Width, c.Height, c.BitsPerPixel));
}

}  // namespace

TCursorRead ReadCursorRecord(const TReadFn& read, int64_t available, TCursorRecord& record) {
  record = TCursorRecord();
  uint8_t head[kHotSpotSize + kImageInfoSize];
  if (available < kHotSpotSize + 2 * kImageInfoSize || !ReadExactly(read, head, sizeof head))
    return TCursorRead::Damaged;
  record.HotSpotX = GetI32(head);
  record.HotSpotY = GetI32(head + 4);
  record.MaskInfo = DecodeImageInfo(head + kHotSpotSize);
  const int64_t maskSize = std::max(record.MaskInfo.Size, 0);
  if (kHotSpotSize + 2 * kImageInfoSize + maskSize > available) return TCursorRead::Damaged;
  record.MaskBits.resize(static_cast<size_t>(maskSize));
  if (!ReadExactly(read, record.MaskBits.data(), maskSize)) return TCursorRead::Damaged;

  uint8_t colorHead[kImageInfoSize];
  if (!ReadExactly(read, colorHead, sizeof colorHead)) return TCursorRead::Damaged;
  record.ColorInfo = DecodeImageInfo(colorHead);
  const int64_t colorSize = std::max(record.ColorInfo.Size, 0);
  record.RecordSize = kHotSpotSize + 2 * kImageInfoSize + maskSize + colorSize;
  if (record.RecordSize > available) return TCursorRead::Damaged;
  record.ColorBits.resize(static_cast<size_t>(colorSize));
  if (!ReadExactly(read, record.ColorBits.data(), colorSize)) return TCursorRead::Damaged;

  // A colour image is drawn through its mask, so it cannot stand without one.
  const bool colorWithoutMask = colorSize > 0 && maskSize == 0;
  if (!MaskMatches(record.MaskInfo) || !ColorMatches(record.ColorInfo) || colorWithoutMask) {
    record.MaskInfo = TImageInfo();
    record.ColorInfo = TImageInfo();
    record.MaskBits.clear();
    record.ColorBits.clear();
    return TCursorRead::Refused;
  }
  return TCursorRead::Ok;
}

}  // namespace film
