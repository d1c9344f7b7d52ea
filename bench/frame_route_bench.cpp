// Two ways from a full-screen-change record (885 x 638, 32 bits) to the picture,
// against one memcpy of the picture, all timed in one run:
//  - expanding into an XOR buffer: every run's value stored into each of its
//    pixels, zero runs included, in a top-down 32-bit DIB section one row taller
//    than the picture, then BitBlt with SRCINVERT onto a picture made by
//    CreateCompatibleBitmap;
//  - the player's way: ApplyFrameRecord in place on the picture's DIB section.
// Runs under Wine in a virtual desktop (the compatible bitmap takes the screen's format):
//   scripts/wine-run.sh --gui build/win/bench/frame_route_bench.exe [rounds, default 15]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench/BenchTiming.h"
#include "bench/BenchRecords.h"
#include "engine/FrameDecoder.h"
#include "foundation/Bytes.h"

namespace {

constexpr int32_t kW = bench::kWidth, kH = bench::kHeight;

HBITMAP TopDownDib(int32_t width, int32_t height, uint32_t** bits) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* p = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &p, nullptr, 0);
  *bits = static_cast<uint32_t*>(p);
  return bitmap;
}

// Every run's value into each of its pixels, zero runs too: the whole buffer is
// written, whatever changed.
void ExpandRuns(const std::vector<uint8_t>& record, uint32_t* buffer, int64_t pixelCount) {
  const int32_t runs = std::min<int32_t>(GetI32(record.data() + 4), static_cast<int32_t>((record.size() - 8) / 5));
  const uint8_t* run = record.data() + 8;
  int64_t at = 0;
  for (int32_t i = 0; i < runs && at < pixelCount; ++i, run += 5) {
    const uint32_t value = run[0] | (run[1] << 8) | (run[2] << 16);
    const int64_t n = std::min<int64_t>(GetU16(run + 3), pixelCount - at);
    std::fill(buffer + at, buffer + at + n, value);
    at += n;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const bench::TRecordSet set = bench::FullScreenChange(32);
  const std::vector<uint8_t>& record = set.Records.front();

  HDC screen = GetDC(nullptr);
  // Expanding into an XOR buffer: a picture in the screen's format and the buffer.
  HBITMAP picture = CreateCompatibleBitmap(screen, kW, kH);
  HDC pictureDC = CreateCompatibleDC(screen);
  HGDIOBJ oldPicture = SelectObject(pictureDC, picture);
  uint32_t* xorBits = nullptr;
  HBITMAP xorDib = TopDownDib(kW, kH + 1, &xorBits);
  HDC xorDC = CreateCompatibleDC(screen);
  HGDIOBJ oldXor = SelectObject(xorDC, xorDib);
  // The player's picture.
  uint32_t* frameBits = nullptr;
  HBITMAP frameDib = TopDownDib(kW, kH, &frameBits);
  std::vector<uint32_t> copy(static_cast<size_t>(bench::kPixels));
  if (!picture || !xorDib || !frameDib || !xorBits || !frameBits) {
    std::fprintf(stderr, "frame_route_bench: could not make the bitmaps\n");
    return 1;
  }
  BITMAP pictureInfo = {};
  GetObjectA(picture, sizeof pictureInfo, &pictureInfo);
  const size_t pictureBytes = static_cast<size_t>(bench::kPixels) * 4;

  auto expand = [&] { ExpandRuns(record, xorBits, bench::kPixels); };
  auto blit = [&] {
    BitBlt(pictureDC, 0, 0, kW, kH, xorDC, 0, 0, SRCINVERT);
    GdiFlush();
  };
  auto apply = [&] {
    engine::ApplyFrameRecord(record.data(), static_cast<int32_t>(record.size()), frameBits, bench::kPixels);
  };
  auto copyOnce = [&] {
    std::memcpy(copy.data(), frameBits, pictureBytes);
    asm volatile("" : : "r"(copy.data()) : "memory");  // the copy counts as used
  };

  // One frame per timing is long enough (hundreds of microseconds) for the
  // performance counter; a batch of frames smooths the scheduler's noise.
  constexpr int kFrames = 20;
  auto perFrame = [&](auto f) { return Seconds([&] { for (int i = 0; i < kFrames; ++i) f(); }) / kFrames; };
  expand(), blit(), apply(), copyOnce();  // pages touched once before timing
  std::vector<double> tExpand, tBlit, tOriginal, tApply, tCopy;
  for (int r = 0; r < rounds; ++r) {
    tCopy.push_back(perFrame(copyOnce));
    tExpand.push_back(perFrame(expand));
    tBlit.push_back(perFrame(blit));
    tOriginal.push_back(perFrame([&] { expand(), blit(); }));
    tApply.push_back(perFrame(apply));
  }

  const double memcpyTime = Median(tCopy);
  std::printf("record (a) full-screen change: %d x %d, %d runs, %zu bytes, %lld pixels changed\n", kW, kH,
              GetI32(record.data() + 4), record.size(), static_cast<long long>(set.ChangedPixels()));
  std::printf("screen %d bits per pixel, compatible bitmap %d bits per pixel; medians of %d rounds of %d frames\n\n",
              GetDeviceCaps(screen, BITSPIXEL), pictureInfo.bmBitsPixel, rounds, kFrames);
  auto line = [&](const char* what, double t) {
    std::printf("%-52s %9.1f us %7.2f x memcpy\n", what, t * 1e6, t / memcpyTime);
  };
  line("memcpy of the 32-bit picture", memcpyTime);
  line("XOR buffer: expanding the runs (every pixel stored)", Median(tExpand));
  line("XOR buffer: BitBlt SRCINVERT onto the picture", Median(tBlit));
  line("XOR buffer: both, one frame", Median(tOriginal));
  line("the player: ApplyFrameRecord into the DIB section", Median(tApply));
  std::printf("\nthe player's way / expanding into an XOR buffer: %.3f\n", Median(tApply) / Median(tOriginal));

  SelectObject(xorDC, oldXor);
  SelectObject(pictureDC, oldPicture);
  DeleteDC(xorDC);
  DeleteDC(pictureDC);
  DeleteObject(xorDib);
  DeleteObject(picture);
  DeleteObject(frameDib);
  ReleaseDC(nullptr, screen);
  return 0;
}
