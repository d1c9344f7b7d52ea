#include "bench/BenchRecords.h"

#include "foundation/Bytes.h"
#include "tools/Canvas.h"
#include "tools/DemoScenes.h"
#include "tools/FrameEncoder.h"

using namespace filmwriter;

namespace bench {

namespace {

constexpr int32_t kSceneFrames = 300;

// Hands pictures to the encoder at the chosen depth; a 24-bit picture is a
// packed copy of the 32-bit one, as a recorder on a 24-bit screen would give it.
class TEncoder {
 public:
  explicit TEncoder(int32_t bitsPerPixel) : FBits(bitsPerPixel), FEncoder(kWidth, kHeight) {}
  std::vector<uint8_t> Encode(const TPixels& pixels) {
    std::vector<uint8_t> record;
    if (FBits == 32) {
      FEncoder.Encode(pixels, record);
      return record;
    }
    FPacked.resize(static_cast<size_t>(kPixels) * 3);
    const int32_t stride = pixels.Stride != 0 ? pixels.Stride : kWidth * 4;
    uint8_t* out = FPacked.data();
    for (int32_t y = 0; y < kHeight; ++y) {
      const uint8_t* in = pixels.Data + static_cast<int64_t>(stride) * y;
      for (int32_t x = 0; x < kWidth; ++x, in += 4, out += 3) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
      }
    }
    FEncoder.Encode({FPacked.data(), kWidth, kHeight, 24, 0}, record);
    return record;
  }

 private:
  int32_t FBits;
  TFrameEncoder FEncoder;
  std::vector<uint8_t> FPacked;
};

TRecordSet Steps(const char* name, TDemoScript script, int32_t bitsPerPixel, int32_t first, int32_t count) {
  const TDemoScene scene(script, kWidth, kHeight, kSceneFrames, 1);
  TCanvas canvas(kWidth, kHeight);
  TEncoder encoder(bitsPerPixel);
  TRecordSet set{name, {}};
  scene.Render(first - 1, canvas);
  encoder.Encode(canvas.Pixels());  // the picture the first step starts from
  for (int32_t frame = first; frame < first + count; ++frame) {
    scene.Render(frame, canvas);
    set.Records.push_back(encoder.Encode(canvas.Pixels()));
  }
  return set;
}

}  // namespace

int64_t TRecordSet::Runs() const {
  int64_t n = 0;
  for (const auto& r : Records) n += GetI32(r.data() + 4);
  return n;
}

int64_t TRecordSet::Bytes() const {
  int64_t n = 0;
  for (const auto& r : Records) n += static_cast<int64_t>(r.size());
  return n;
}

int64_t TRecordSet::ChangedPixels() const {
  int64_t n = 0;
  for (const auto& r : Records)
    for (size_t at = 8; at + 5 <= r.size(); at += 5)
      if (r[at] | r[at + 1] | r[at + 2]) n += GetU16(&r[at + 3]);
  return n;
}

TRecordSet FullScreenChange(int32_t bitsPerPixel) {
  TCanvas before(kWidth, kHeight);
  TDemoScene(TDemoScript::Typing, kWidth, kHeight, kSceneFrames, 1).Render(kSceneFrames - 1, before);
  constexpr int32_t kOtherWidth = 1024, kOtherHeight = 768;
  TCanvas after(kOtherWidth, kOtherHeight);
  TDemoScene(TDemoScript::MovingWindow, kOtherWidth, kOtherHeight, kSceneFrames, 1).Render(kSceneFrames / 2, after);
  TPixels cropped = after.Pixels();
  cropped.Width = kWidth;
  cropped.Height = kHeight;
  TEncoder encoder(bitsPerPixel);
  encoder.Encode(before.Pixels());
  return {"(a) full-screen change", {encoder.Encode(cropped)}};
}

TRecordSet TypingSteps(int32_t bitsPerPixel, int32_t first, int32_t count) {
  return Steps("(b) typing steps", TDemoScript::Typing, bitsPerPixel, first, count);
}

TRecordSet DragSteps(int32_t bitsPerPixel, int32_t first, int32_t count) {
  return Steps("(b) window-drag steps", TDemoScript::MovingWindow, bitsPerPixel, first, count);
}

TRecordSet Unchanged(int32_t bitsPerPixel) {
  TCanvas canvas(kWidth, kHeight);
  TDemoScene(TDemoScript::Typing, kWidth, kHeight, kSceneFrames, 1).Render(kSceneFrames / 2, canvas);
  TEncoder encoder(bitsPerPixel);
  encoder.Encode(canvas.Pixels());
  return {"(c) unchanged", {encoder.Encode(canvas.Pixels())}};
}

TRecordSet EveryPixelARun(int32_t bitsPerPixel) {
  // Odd multiples of a large odd constant: neighbours never share a value, and
  // no value is 0 (a zero run is skipped, not applied).
  std::vector<uint32_t> pixels(static_cast<size_t>(kPixels));
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = ((2 * static_cast<uint32_t>(i) + 1) * 0x9E3779B1u) & 0xFFFFFF;
  TEncoder encoder(bitsPerPixel);
  return {"(d) every pixel a run",
          {encoder.Encode({reinterpret_cast<const uint8_t*>(pixels.data()), kWidth, kHeight, 32, 0})}};
}

}  // namespace bench
