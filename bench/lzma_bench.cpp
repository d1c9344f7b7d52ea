// Decoding speed of the player's LZMA decoder against liblzma on a payload like
// the recorder's: frame records of 24-bit XOR runs from a simulated desktop
// session (typing in an editor, a caret, a window dragged around, scrolling),
// packed the way the recorder packs it (preset 6, 8 MiB dictionary, lc3 lp0 pb2,
// decoded size stored). Prints the times of both and their ratio.
//   lzma_bench [megabytes of payload, default 14] [repetitions, default 7]
// With LZMA_BENCH_DUMP=file the generated payload is also written to that file.
#include <lzma.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "film/LzmaDecoder.h"
#include "foundation/Bytes.h"
#include "foundation/zeClasses.h"

namespace {

uint32_t gSeed = 12345;
uint32_t Rnd(uint32_t n) {
  gSeed = gSeed * 1664525u + 1013904223u;
  return (gSeed >> 8) % n;
}

// --- a small desktop ------------------------------------------------------------
constexpr int kWidth = 1024, kHeight = 768;
constexpr int kGlyphW = 7, kGlyphH = 13;

struct TGlyphs {
  uint8_t shade[96][kGlyphH][kGlyphW];  // 0 paper .. 3 ink, a few anti-aliased steps
  TGlyphs() {
    for (auto& g : shade)
      for (int y = 0; y < kGlyphH; ++y)
        for (int x = 0; x < kGlyphW; ++x) {
          const bool body = y >= 2 && y < 11 && x >= 1 && x < 6;
          g[y][x] = static_cast<uint8_t>(body ? (Rnd(5) < 2 ? 3 : Rnd(3)) : 0);
        }
    std::memset(shade[0], 0, sizeof shade[0]);  // space
  }
};

struct TWindow {
  int x, y, w, h;
  uint32_t titleColor;
  std::vector<std::string> lines;  // client text
  int scroll = 0;
  std::vector<uint32_t> photo;  // a picture in the client area, kPhotoW x kPhotoH; empty: none
};
constexpr int kPhotoW = 380, kPhotoH = 220;

// A photograph-like picture: smooth gradients with sensor noise, so every pixel
// differs from its neighbours as on a real screen.
std::vector<uint32_t> MakePhoto() {
  std::vector<uint32_t> p(kPhotoW * kPhotoH);
  const int r0 = static_cast<int>(Rnd(200)), g0 = static_cast<int>(Rnd(200)), b0 = static_cast<int>(Rnd(200));
  for (int y = 0; y < kPhotoH; ++y)
    for (int x = 0; x < kPhotoW; ++x) {
      const int r = std::min(255, r0 + x / 8 + static_cast<int>(Rnd(24)));
      const int g = std::min(255, g0 + y / 4 + static_cast<int>(Rnd(24)));
      const int b = std::min(255, b0 + (x + y) / 16 + static_cast<int>(Rnd(24)));
      p[y * kPhotoW + x] = static_cast<uint32_t>((r << 16) | (g << 8) | b);
    }
  return p;
}

class TDesktop {
 public:
  std::vector<uint32_t> pix = std::vector<uint32_t>(kWidth * kHeight);

  void Fill(int x, int y, int w, int h, uint32_t c) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + w, kWidth), y1 = std::min(y + h, kHeight);
    for (int yy = y0; yy < y1; ++yy)
      std::fill(&pix[yy * kWidth + x0], &pix[yy * kWidth + x0] + std::max(0, x1 - x0), c);
  }
  void Put(int x, int y, uint32_t c) {
    if (x >= 0 && y >= 0 && x < kWidth && y < kHeight) pix[y * kWidth + x] = c;
  }
  void Text(int x, int y, const std::string& s, uint32_t ink, uint32_t paper, int clipX1) {
    static const uint32_t kRamp[4] = {0, 0x55, 0xAA, 0xFF};
    for (size_t i = 0; i < s.size(); ++i) {
      const int gx = x + static_cast<int>(i) * kGlyphW;
      if (gx + kGlyphW > clipX1) break;
      const unsigned char sc = static_cast<unsigned char>(s[i]);
      const int ch = (sc >= 32 && sc < 128) ? sc - 32 : 0;
      for (int yy = 0; yy < kGlyphH; ++yy)
        for (int xx = 0; xx < kGlyphW; ++xx) {
          const uint32_t a = kRamp[glyphs.shade[ch][yy][xx]];
          uint32_t c = 0;
          for (int k = 0; k < 24; k += 8) {
            const uint32_t ci = (ink >> k) & 0xFF, cp = (paper >> k) & 0xFF;
            c |= ((ci * a + cp * (255 - a)) / 255) << k;
          }
          Put(gx + xx, y + yy, c);
        }
    }
  }
  void Window(const TWindow& w, bool active) {
    Fill(w.x, w.y, w.w, w.h, 0xC0C0C0);  // frame
    for (int i = 0; i < w.w - 6; ++i) {  // title bar gradient
      const uint32_t t = active ? w.titleColor : 0x808080;
      const uint32_t shade = static_cast<uint32_t>(i * 0x60 / std::max(1, w.w));
      Fill(w.x + 3 + i, w.y + 3, 1, 18, t + (shade << 8) + shade);
    }
    Text(w.x + 8, w.y + 6, "Untitled - Notes", 0xFFFFFF, active ? w.titleColor : 0x808080, w.x + w.w - 60);
    Fill(w.x + w.w - 56, w.y + 5, 14, 14, 0xC0C0C0);
    Fill(w.x + w.w - 40, w.y + 5, 14, 14, 0xC0C0C0);
    Fill(w.x + w.w - 22, w.y + 5, 14, 14, 0xC0C0C0);
    Fill(w.x + 3, w.y + 24, w.w - 6, w.h - 27, 0xFFFFFF);  // client
    const int rows = (w.h - 32) / (kGlyphH + 2);
    for (int r = 0; r < rows && r + w.scroll < static_cast<int>(w.lines.size()); ++r)
      Text(w.x + 6, w.y + 28 + r * (kGlyphH + 2), w.lines[r + w.scroll], 0x000000, 0xFFFFFF, w.x + w.w - 6);
    if (!w.photo.empty())
      for (int y = 0; y < kPhotoH && y < w.h - 40; ++y)
        for (int x = 0; x < kPhotoW && x < w.w - 20; ++x)
          Put(w.x + 10 + x, w.y + w.h - 10 - kPhotoH + y, w.photo[y * kPhotoW + x]);
  }
  void Background(int clockMinute) {
    Fill(0, 0, kWidth, kHeight, 0x3A6EA5);
    for (int i = 0; i < 6; ++i) {  // icons
      Fill(20, 20 + i * 70, 32, 32, 0xE0D070 - static_cast<uint32_t>(i) * 0x101010);
      Text(14, 56 + i * 70, "Icon", 0xFFFFFF, 0x3A6EA5, 60);
    }
    Fill(0, kHeight - 30, kWidth, 30, 0xC0C0C0);  // taskbar
    Fill(4, kHeight - 26, 60, 22, 0xD4D0C8);
    Text(10, kHeight - 22, "Start", 0x000000, 0xD4D0C8, 64);
    char clock[16];
    std::snprintf(clock, sizeof clock, "%02d:%02d", 9 + clockMinute / 60, clockMinute % 60);
    Text(kWidth - 50, kHeight - 22, clock, 0x000000, 0xC0C0C0, kWidth);
  }
  TGlyphs glyphs;
};

const char* const kWords[] = {"the",   "frame", "window", "record", "value", "player", "segment", "cursor",
                              "speed", "run",   "of",     "and",    "a",     "to",     "picture", "sound"};

// Frame records of a session, as a recorder writes them, until at least n bytes.
std::vector<uint8_t> MakeFrames(size_t n, int& frames) {
  TDesktop d;
  TWindow editor{80, 60, 620, 460, 0x0A246A, {""}, 0, {}};
  TWindow browser{420, 160, 420, 360, 0x0A246A, {}, 0, {}};
  for (int i = 0; i < 40; ++i) browser.lines.push_back(std::string("file_") + std::to_string(i * 37 % 1000) + ".zef");
  browser.photo = MakePhoto();
  for (int i = 0; i < 40; ++i) {  // a page of text to start with
    std::string line;
    while (line.size() < 78) line += std::string(kWords[Rnd(16)]) + " ";
    editor.lines.insert(editor.lines.begin(), line);
  }
  bool editorOnTop = true;
  int dragLeft = 0, dx = 0, dy = 0;
  int minute = 0;
  std::vector<uint32_t> prev(kWidth * kHeight, 0);  // the first frame is XORed onto black
  std::vector<uint8_t> out;
  std::string word;
  for (int frame = 0; out.size() < n; ++frame) {
    // What happens during this frame.
    if (frame % 120 == 119) ++minute;
    if (dragLeft > 0) {
      browser.x = std::clamp(browser.x + dx, -100, kWidth - 100);
      browser.y = std::clamp(browser.y + dy, 0, kHeight - 100);
      --dragLeft;
    } else if (Rnd(1000) < 3) {
      dragLeft = 6 + static_cast<int>(Rnd(10));
      dx = static_cast<int>(Rnd(31)) - 15;
      dy = static_cast<int>(Rnd(21)) - 10;
      editorOnTop = false;
    } else if (Rnd(1000) < 5) {
      editorOnTop = !editorOnTop;
    } else if (Rnd(1000) < 5) {
      browser.photo = MakePhoto();  // the browser shows another picture
    } else {
      for (uint32_t k = Rnd(4); k > 0; --k) {  // typing
        if (word.empty()) word = std::string(kWords[Rnd(16)]) + " ";
        editor.lines.back() += word[0];
        word.erase(0, 1);
        if (editor.lines.back().size() > 80) editor.lines.push_back("");
      }
      const int rows = (editor.h - 32) / (kGlyphH + 2);
      editor.scroll = std::max(0, static_cast<int>(editor.lines.size()) - rows);
    }
    // Draw the screen.
    d.Background(minute);
    if (editorOnTop) {
      d.Window(browser, false);
      d.Window(editor, true);
    } else {
      d.Window(editor, false);
      d.Window(browser, true);
    }
    if (editorOnTop && (frame & 1)) {  // caret
      const int row = static_cast<int>(editor.lines.size()) - 1 - editor.scroll;
      d.Fill(editor.x + 6 + static_cast<int>(editor.lines.back().size()) * kGlyphW, editor.y + 28 + row * (kGlyphH + 2),
             1, kGlyphH, 0x000000);
    }
    // One record: runs of equal XOR values in picture order, at most 65,535 long.
    const size_t start = out.size();
    out.resize(start + 8);
    uint32_t runs = 0;
    size_t i = 0;
    const size_t total = d.pix.size();
    while (i < total) {
      const uint32_t v = (d.pix[i] ^ prev[i]) & 0xFFFFFF;
      size_t j = i + 1;
      while (j < total && j - i < 65535 && ((d.pix[j] ^ prev[j]) & 0xFFFFFF) == v) ++j;
      const uint32_t len = static_cast<uint32_t>(j - i);
      const uint8_t run[5] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                              static_cast<uint8_t>(len), static_cast<uint8_t>(len >> 8)};
      out.insert(out.end(), run, run + 5);
      ++runs;
      i = j;
    }
    PutI32(out.data() + start, static_cast<int32_t>(out.size() - start));
    PutI32(out.data() + start + 4, static_cast<int32_t>(runs));
    prev = d.pix;
    frames = frame + 1;
  }
  return out;
}

std::vector<uint8_t> Compress(const std::vector<uint8_t>& input) {
  lzma_options_lzma options;
  lzma_lzma_preset(&options, 6);
  options.dict_size = 8u << 20;
  options.lc = 3;
  options.lp = 0;
  options.pb = 2;
  lzma_stream strm = LZMA_STREAM_INIT;
  if (lzma_alone_encoder(&strm, &options) != LZMA_OK) std::abort();
  std::vector<uint8_t> out(input.size() + 65536);
  strm.next_in = input.data();
  strm.avail_in = input.size();
  strm.next_out = out.data();
  strm.avail_out = out.size();
  if (lzma_code(&strm, LZMA_FINISH) != LZMA_STREAM_END) std::abort();
  out.resize(strm.total_out);
  lzma_end(&strm);
  // The recorder stores the decoded size in the header.
  PutU64(out.data() + 5, input.size());
  return out;
}

bool DecodeOurs(const std::vector<uint8_t>& packed, std::vector<uint8_t>& out) {
  TLzmaHeader header;
  if (ParseLzmaHeader(packed.data(), header) != TLzmaResult::Ok) return false;
  TLzmaDecoder decoder;
  if (decoder.Init(header) != TLzmaResult::Ok) return false;
  size_t used, written;
  const TLzmaResult r = decoder.Decode(packed.data() + kLzmaHeaderSize, packed.size() - kLzmaHeaderSize, &used,
                                       out.data(), out.size(), &written);
  return r == TLzmaResult::Ok && decoder.Finished() && written == out.size();
}

bool DecodeLiblzma(const std::vector<uint8_t>& packed, std::vector<uint8_t>& out) {
  lzma_stream strm = LZMA_STREAM_INIT;
  if (lzma_alone_decoder(&strm, UINT64_MAX) != LZMA_OK) return false;
  strm.next_in = packed.data();
  strm.avail_in = packed.size();
  strm.next_out = out.data();
  strm.avail_out = out.size();
  const lzma_ret r = lzma_code(&strm, LZMA_FINISH);
  const bool ok = r == LZMA_STREAM_END && strm.total_out == out.size();
  lzma_end(&strm);
  return ok;
}

bool DecodeOursFileToFile(const std::string& in, const std::string& out) {
  TzeFileStream input(in, OpenReadDenyWrite);
  TzeFileStream output(out, OpenCreate);
  return DecodeLzmaStream(input, output) == TLzmaResult::Ok;
}

template <typename F>
double Seconds(F f) {
  const auto t0 = std::chrono::steady_clock::now();
  if (!f()) {
    std::fprintf(stderr, "decoding failed\n");
    std::exit(1);
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main(int argc, char** argv) {
  const size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 14;
  const int reps = argc > 2 ? std::atoi(argv[2]) : 7;
  int frames = 0;
  const std::vector<uint8_t> payload = MakeFrames(std::max<size_t>(megabytes, 10) << 20, frames);
  const std::vector<uint8_t> packed = Compress(payload);
  if (std::getenv("LZMA_BENCH_DUMP")) {
    FILE* f = std::fopen(std::getenv("LZMA_BENCH_DUMP"), "wb");
    std::fwrite(payload.data(), 1, payload.size(), f);
    std::fclose(f);
  }
  std::printf(
      "payload: %d frame records of a %dx%d screen, %zu bytes (first record %d bytes); packed %zu bytes (%.1f:1)\n",
      frames, kWidth, kHeight, payload.size(), GetI32(payload.data()), packed.size(),
      static_cast<double>(payload.size()) / static_cast<double>(packed.size()));

  std::vector<uint8_t> out(payload.size());
  std::vector<double> ours, theirs;
  for (int i = 0; i < reps; ++i) {
    std::fill(out.begin(), out.end(), 0);
    ours.push_back(Seconds([&] { return DecodeOurs(packed, out); }));
    if (out != payload) {
      std::fprintf(stderr, "our output differs from the payload\n");
      return 1;
    }
    theirs.push_back(Seconds([&] { return DecodeLiblzma(packed, out); }));
  }
  // File to file through the project's streams, as the player runs it.
  const std::string inName = MakeTempName("lzma", "", "zeB_"), outName = inName + ".out";
  {
    TzeFileStream f(inName, OpenCreate);
    f.Write(packed.data(), static_cast<int32_t>(packed.size()));
  }
  std::vector<double> files;
  for (int i = 0; i < reps; ++i) files.push_back(Seconds([&] { return DecodeOursFileToFile(inName, outName); }));
  std::remove(inName.c_str());
  std::remove(outName.c_str());

  std::sort(ours.begin(), ours.end());
  std::sort(theirs.begin(), theirs.end());
  std::sort(files.begin(), files.end());
  const double mb = static_cast<double>(payload.size()) / 1e6;
  auto line = [&](const char* what, const std::vector<double>& t) {
    std::printf("%-28s best %7.1f ms  median %7.1f ms  (%.0f MB/s decoded)\n", what, t.front() * 1e3,
                t[t.size() / 2] * 1e3, mb / t.front());
  };
  line("vaRorivi, memory to memory", ours);
  line("liblzma, memory to memory", theirs);
  line("vaRorivi, file to file", files);
  std::printf("ratio vaRorivi / liblzma: best %.2f, median %.2f (goal: at most 1.20)\n", ours.front() / theirs.front(),
              ours[ours.size() / 2] / theirs[theirs.size() / 2]);
  return 0;
}
