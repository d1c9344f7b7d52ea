// Writes the films the Windows loader and playback tests use into a folder:
//   make_test_films OUTDIR MP3FILE
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/films/TestFilms.h"
#include "tools/FilmWriter.h"

using namespace filmwriter;
using namespace testfilms;

namespace {

std::string outDir;
std::vector<uint8_t> mp3;

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Frames of the test pattern, given at the segment's own depth.
// cursor: the track's cursor index, or -1 for every cursor in turn.
void AddPatternFrames(TSegmentWriter& segment, int32_t width, int32_t height, int32_t bpp, int32_t frames,
                      int32_t ticksPerFrame, int32_t cursor = -1) {
  const int32_t bytesPerPixel = bpp / 8;
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * bytesPerPixel);
  for (int32_t f = 0; f < frames; ++f) {
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) {
        const uint32_t v = PatternPixel(x, y, f);
        uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * bytesPerPixel];
        p[0] = static_cast<uint8_t>(v);
        p[1] = static_cast<uint8_t>(v >> 8);
        p[2] = static_cast<uint8_t>(v >> 16);
        if (bytesPerPixel == 4) p[3] = 0;
      }
    segment.AddFrame({pixels.data(), width, height, bpp, 0});
    for (int32_t t = 0; t < ticksPerFrame; ++t)
      segment.AddTrackEntry({static_cast<uint16_t>(cursor < 0 ? f % kCursorCount : cursor),
                             static_cast<uint16_t>(TrackX(f, t)), static_cast<uint16_t>(TrackY(f))});
  }
}

void AddCursors(TSegmentWriter& segment) {
  std::vector<uint32_t> arrow(32 * 32, 0);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      if (ArrowPixel(x, y)) arrow[y * 32 + x] = 0xFFFFFFFF;
  segment.AddCursor(ColorCursor(0, 0, 32, 32, arrow));
  std::vector<TMonoPixel> hand(32 * 32, TMonoPixel::Transparent);
  for (int y = 4; y < 20; ++y)
    for (int x = 6; x < 14; ++x) hand[y * 32 + x] = (x + y) % 2 ? TMonoPixel::Black : TMonoPixel::White;
  segment.AddCursor(MonochromeCursor(6, 4, 32, 32, hand));
  segment.AddCursor(EmptyCursor());
}

TSegmentWriter& FirstSegment(TFilmWriter& film, const TPackOptions& packing = {}) {
  TSegmentFormat f;
  f.Width = kFirstWidth;
  f.Height = kFirstHeight;
  f.BitsPerPixel = 32;
  f.FrameRate = kFirstRate;
  f.ThreeTicksPerFrame = true;
  f.Title = kFirstTitle;
  TSegmentWriter& s = film.AddSegment(f, packing);
  AddCursors(s);
  AddPatternFrames(s, kFirstWidth, kFirstHeight, 32, kFirstFrames, 3);
  return s;
}

TSegmentWriter& SecondSegment(TFilmWriter& film, const TPackOptions& packing = {}) {
  TSegmentFormat f;
  f.Width = kSecondWidth;
  f.Height = kSecondHeight;
  f.BitsPerPixel = 24;
  f.FrameRate = kSecondRate;
  f.Title = kSecondTitle;
  TSegmentWriter& s = film.AddSegment(f, packing);
  AddCursors(s);
  AddPatternFrames(s, kSecondWidth, kSecondHeight, 24, kSecondFrames, 1);
  s.SetThirdBlock(std::vector<uint8_t>(kThirdBlock, kThirdBlock + std::string(kThirdBlock).size()));
  s.SetSound(mp3);
  return s;
}

// A small segment whose header the caller may change.
TSegmentWriter& SmallSegment(TFilmWriter& film, float rate = 10.0f, const TPackOptions& packing = {}) {
  TSegmentFormat f;
  f.Width = 16;
  f.Height = 8;
  f.FrameRate = rate;
  f.Title = "Small";
  TSegmentWriter& s = film.AddSegment(f, packing);
  AddCursors(s);
  AddPatternFrames(s, 16, 8, 32, 2, 1);
  return s;
}

void Zef(const char* name, void (*build)(TFilmWriter&)) {
  TFilmWriter film(outDir);
  build(film);
  film.WriteZef(outDir + "/" + name);
}

TSegmentWriter& PatternSegment(TFilmWriter& film, int32_t width, int32_t height, uint8_t bpp, float rate,
                               bool threeTicks, int32_t frames, int32_t cursor) {
  TSegmentFormat f;
  f.Width = width;
  f.Height = height;
  f.BitsPerPixel = bpp;
  f.FrameRate = rate;
  f.ThreeTicksPerFrame = threeTicks;
  f.Title = "Pattern";
  TSegmentWriter& s = film.AddSegment(f);
  AddCursors(s);
  AddPatternFrames(s, width, height, bpp, frames, threeTicks ? 3 : 1, cursor);
  return s;
}

// Self-playing copies of the player for the end-to-end tests.
int MakePlayers(const std::string& player) {
  auto copy = [&](const char* name, void (*build)(TFilmWriter&)) {
    TFilmWriter film(outDir);
    build(film);
    film.WriteAppended(player, {}, outDir + "/" + name);
  };
  copy("play.exe", [](TFilmWriter& film) {
    PatternSegment(film, kPlayWidth0, kPlayHeight0, 24, 10.0f, false, kPlayFrames0, -1);
    PatternSegment(film, kPlayWidth1, kPlayHeight1, 32, 8.0f, true, kPlayFrames1, -1);
  });
  copy("long.exe", [](TFilmWriter& film) {
    PatternSegment(film, kLongWidth, kLongHeight, 24, 5.0f, false, kLongFrames, 0);
  });
  copy("big.exe", [](TFilmWriter& film) {
    PatternSegment(film, kBigWidth, kBigHeight, 32, 25.0f, false, kBigFrames, 2);
  });
  copy("nofilm-segments.exe", [](TFilmWriter& film) { film.AddRawEntry({4, 2}); });
  // Faults playback must get past, each followed by a good segment.
  copy("short.exe", [](TFilmWriter& film) {  // says more frames than it has records
    PatternSegment(film, 64, 48, 32, 20.0f, false, kFaultFrames, 0)
        .OverrideHeader([](film::TSegmentHeader& h) { h.FrameCount = 3 * kFaultFrames; });
    PatternSegment(film, 64, 48, 32, 20.0f, false, kFaultFrames, 0);
  });
  copy("broken.exe", [](TFilmWriter& film) {  // a record with length 0 after the good ones
    TSegmentWriter& s = PatternSegment(film, 64, 48, 32, 20.0f, false, kFaultFrames, 0);
    s.AddFrameRecord({0, 0, 0, 0, 0, 0, 0, 0});
    s.AddTrackEntry({0, 1, 1});
    PatternSegment(film, 64, 48, 32, 20.0f, false, kFaultFrames, 0);
  });
  copy("huge.exe", [](TFilmWriter& film) {  // a picture whose largest record cannot fit a block
    PatternSegment(film, kHugeWidth, kHugeHeight, 32, 20.0f, false, 1, 0);
    PatternSegment(film, 64, 48, 32, 20.0f, false, kFaultFrames, 0);
  });
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--player") {
    outDir = argv[3];
    try {
      return MakePlayers(argv[2]);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "make_test_films: %s\n", e.what());
      return 1;
    }
  }
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_test_films OUTDIR MP3FILE\n       make_test_films --player PLAYER.exe OUTDIR\n");
    return 2;
  }
  outDir = argv[1];
  mp3 = ReadFile(argv[2]);
  try {
    Zef("two-lzma.zef", [](TFilmWriter& film) {
      FirstSegment(film);
      SecondSegment(film);
    });
    Zef("two-cab.zef", [](TFilmWriter& film) {
      TPackOptions cab;
      cab.Method = TPackMethod::Cabinet;
      FirstSegment(film, cab);
      SecondSegment(film, cab);
    });
    // A cabinet with more files than the payload: only the one listed last is read.
    Zef("cab-several.zef", [](TFilmWriter& film) {
      TPackOptions cab;
      cab.Method = TPackMethod::Cabinet;
      cab.CabinetExtraFiles = {{"readme.txt", {'h', 'i'}}, {"sub/extra.bin", std::vector<uint8_t>(100, 7)}};
      FirstSegment(film, cab);
    });
    // Three entries, the second of a newer version.
    Zef("versions.zef", [](TFilmWriter& film) {
      SmallSegment(film);
      SmallSegment(film).OverrideHeader([](film::TSegmentHeader& h) { h.Version = 2; });
      SmallSegment(film);
    });
    // An entry of another kind first: the entry numbers still count it.
    Zef("kinds.zef", [](TFilmWriter& film) {
      film.AddRawEntry({4, 2});
      SmallSegment(film).OverrideHeader([](film::TSegmentHeader& h) { h.Version = 7; });
      SmallSegment(film);
    });
    Zef("rates.zef", [](TFilmWriter& film) {
      for (float rate : {2.5f, 3.5f, 29.97f, 0.4f}) SmallSegment(film, rate);
    });
    // Sound kind and size: MP3 with bytes, MP3 with size 0, another kind with bytes.
    Zef("sounds.zef", [](TFilmWriter& film) {
      SmallSegment(film).SetSound(mp3);
      SmallSegment(film).OverrideHeader([](film::TSegmentHeader& h) {
        h.Flags = film::MakeFlags(film::CompressionOf(h.Flags), film::skMp3, false);
        h.SoundSize = 0;
      });
      TSegmentWriter& wav = SmallSegment(film);
      wav.SetSound(mp3);
      wav.OverrideHeader([](film::TSegmentHeader& h) {
        h.Flags = film::MakeFlags(film::CompressionOf(h.Flags), film::skWav, false);
      });
    });
    // A packing the player does not know: the record stays without data.
    Zef("stored.zef", [](TFilmWriter& film) {
      TPackOptions stored;
      stored.Method = TPackMethod::Stored;
      SmallSegment(film, 10.0f, stored);
    });
    // Damage the loader must notice before it reads anything of it.
    Zef("damaged.zef", [](TFilmWriter& film) {
      SmallSegment(film).OverrideHeader([](film::TSegmentHeader& h) { h.CursorCount = 100000; });   // 1
      SmallSegment(film).OverrideHeader([](film::TSegmentHeader& h) { h.FrameDataSize += 100000; });  // 2
      SmallSegment(film).OverrideHeader([](film::TSegmentHeader& h) { h.PayloadSize = 0x7FFFFFF0; });  // 3
      SmallSegment(film).OverrideHeader([](film::TSegmentHeader& h) { h.ThirdBlockSize = -5; });        // 4
      SmallSegment(film);                                                                               // 5: good
      SmallSegment(film);                                                                               // 6: offset moved
      film.OverrideDirectory([](int32_t&, std::vector<film::TDirEntry>& entries) { entries[5].Offset = 0x7FFFFF00; });
    });
    // A title longer than the record's field, and a record whose sizes do not match its bitmap.
    Zef("odd-records.zef", [](TFilmWriter& film) {
      TSegmentFormat f;
      f.Width = 16;
      f.Height = 8;
      f.Title = "unused";
      std::vector<uint8_t> title(300, 'x');
      title[0] = 255;
      f.RawTitleField = title;
      TSegmentWriter& s = film.AddSegment(f);
      TCursorRecord bad = ColorCursor(0, 0, 32, 32, std::vector<uint32_t>(32 * 32, 0xFF00FF00));
      bad.MaskInfo.Size = 100;  // says 100 bytes, carries 128: the sizes disagree
      bad.MaskBits.resize(100);
      s.AddCursor(bad);
      s.AddCursor(EmptyCursor());
      AddPatternFrames(s, 16, 8, 32, 2, 1);
    });
    // A stand-in player with a language table and a film in its tail.
    {
      TFilmWriter film(outDir);
      FirstSegment(film);
      const std::string fake = outDir + "/fake-player.bin";
      std::vector<uint8_t> player(kFakePlayerSize, 0x90);
      player[0] = 'M';
      player[1] = 'Z';
      WriteBytes(fake, player);
      const std::string text = kLanguageText;
      film.WriteAppended(fake, std::vector<uint8_t>(text.begin(), text.end()), outDir + "/appended.bin");
      std::remove(fake.c_str());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_test_films: %s\n", e.what());
    return 1;
  }
  return 0;
}
