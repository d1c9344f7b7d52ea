// The film writer, checked by reading back what it wrote: the directory and
// headers through the shared film layout, LZMA payloads through liblzma,
// cabinets through gcab, frames by XORing their runs onto the previous picture.
#include "tools/FilmWriter.h"

#include <gtest/gtest.h>
#include <lzma.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "foundation/Bytes.h"
#include "tools/DemoFilm.h"
#include "tools/DemoScenes.h"
#include "tools/FileIo.h"

using namespace filmwriter;
using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

namespace {

// --- reading back ------------------------------------------------------------------

struct TReadSegment {
  film::TSegmentHeader Header;
  int64_t Start;  // H, from the film's first byte
  Bytes Payload, Sound;
};

struct TReadFilm {
  int32_t Count;
  std::vector<film::TDirEntry> Entries;
  std::vector<TReadSegment> Segments;  // the kind-1 entries, in order
};

Bytes Slice(const Bytes& bytes, int64_t at, int64_t count) {
  EXPECT_GE(at, 0);
  EXPECT_LE(at + count, static_cast<int64_t>(bytes.size())) << "piece beyond the film";
  if (at < 0 || count < 0 || at + count > static_cast<int64_t>(bytes.size())) return {};
  return Bytes(bytes.begin() + at, bytes.begin() + at + count);
}

// Reads like the player's loader: the directory's offsets, then each header's
// offsets and sizes. entries: how many entries to read when C was overridden.
TReadFilm ReadFilm(const Bytes& bytes, int32_t entries = -1) {
  TReadFilm f;
  f.Count = GetI32(bytes.data());
  const int32_t n = entries < 0 ? f.Count : entries;
  for (int32_t i = 0; i < n; ++i) {
    f.Entries.push_back(film::DecodeDirEntry(&bytes[film::kDirCountSize + film::kDirEntrySize * i]));
    if (f.Entries.back().Kind != film::kEntrySegment) continue;
    TReadSegment s;
    s.Start = f.Entries.back().Offset;
    s.Header = film::DecodeSegmentHeader(Slice(bytes, s.Start, film::kSegmentHeaderSize).data());
    s.Payload = Slice(bytes, s.Start + s.Header.PayloadOffset, s.Header.PayloadSize);
    s.Sound = Slice(bytes, s.Start + s.Header.SoundOffset, s.Header.SoundSize);
    f.Segments.push_back(s);
  }
  return f;
}

Bytes UnpackLzma(const Bytes& payload) {
  EXPECT_GE(payload.size(), static_cast<size_t>(film::kLzmaHeaderSize));
  const uint64_t stored = GetU64(&payload[film::kLzmaDecodedSizeOffset]);
  EXPECT_LT(stored, 1u << 30) << "decoded size not stored";
  if (stored >= 1u << 30) return {};
  lzma_stream s = LZMA_STREAM_INIT;
  EXPECT_EQ(lzma_alone_decoder(&s, UINT64_MAX), LZMA_OK);
  Bytes out(static_cast<size_t>(stored) + 1);  // one byte more: the decoder must stop at the stored size
  s.next_in = payload.data();
  s.avail_in = payload.size();
  s.next_out = out.data();
  s.avail_out = out.size();
  EXPECT_EQ(lzma_code(&s, LZMA_FINISH), LZMA_STREAM_END);
  EXPECT_EQ(s.avail_in, 0u) << "data after the end marker";
  out.resize(s.total_out);
  lzma_end(&s);
  EXPECT_EQ(out.size(), stored);
  return out;
}

std::string RunAndRead(const std::string& command) {
  std::string text;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return text;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe)) text += buffer;
  EXPECT_EQ(pclose(pipe), 0) << command;
  return text;
}

// The cabinet's stored names in their order, and each file's bytes.
struct TCabinet {
  std::vector<std::string> Names;
  std::map<std::string, Bytes> Files;
};

TCabinet ReadCabinet(const Bytes& payload, const fs::path& folder) {
  TCabinet cab;
  const fs::path file = folder / "payload.cab", out = folder / "out";
  fs::create_directories(out);
  {
    TzeFileStream s(file.string(), OpenCreate);
    WriteAll(s, payload);
  }
  const std::string listing = RunAndRead("gcab -t '" + file.string() + "'");
  for (size_t at = 0, end; (end = listing.find('\n', at)) != std::string::npos; at = end + 1)
    cab.Names.push_back(listing.substr(at, end - at));
  EXPECT_EQ(RunAndRead("gcab -x -C '" + out.string() + "' '" + file.string() + "'"), "");
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(out))
    if (e.is_regular_file()) cab.Files[fs::relative(e.path(), out).string()] = ReadWholeFile(e.path().string());
  return cab;
}

struct TUnpacked {
  Bytes TitleField;
  std::vector<Bytes> Cursors;
  Bytes FrameData, Track, ThirdBlock;
};

// Splits an unpacked payload by the header's counts and sizes; the pieces must
// fill it exactly.
TUnpacked Split(const Bytes& payload, const film::TSegmentHeader& h) {
  TUnpacked u;
  if (payload.size() < static_cast<size_t>(film::kTitleLengthSize)) {
    ADD_FAILURE() << "payload too short";
    return u;
  }
  int64_t at = film::kTitleLengthSize;
  const int32_t titleLength = GetI32(payload.data());
  u.TitleField = Slice(payload, at, titleLength);
  at += titleLength;
  for (int32_t i = 0; i < h.CursorCount && at + film::kCursorRecordFixedSize <= static_cast<int64_t>(payload.size()); ++i) {
    const int32_t mask = GetI32(&payload[at + film::kMaskInfoOffset]);
    const int32_t color = GetI32(&payload[at + film::kMaskBitsOffset + std::max(mask, 0)]);
    const int64_t size = film::CursorRecordSize(mask, color);
    u.Cursors.push_back(Slice(payload, at, size));
    at += size;
  }
  u.FrameData = Slice(payload, at, h.FrameDataSize);
  u.Track = Slice(payload, at += h.FrameDataSize, h.CursorTrackSize);
  u.ThirdBlock = Slice(payload, at += h.CursorTrackSize, h.ThirdBlockSize);
  EXPECT_EQ(at + h.ThirdBlockSize, static_cast<int64_t>(payload.size()));
  return u;
}

// Plays the frame data: each record's runs XORed onto the picture so far,
// which starts black. Checks every record's framing on the way.
std::vector<std::vector<uint32_t>> PlayFrames(const Bytes& data, int32_t width, int32_t height) {
  std::vector<std::vector<uint32_t>> pictures;
  std::vector<uint32_t> picture(static_cast<size_t>(width) * height, 0);
  for (size_t at = 0; at < data.size();) {
    const int32_t length = GetI32(&data[at]);
    const int32_t runs = GetI32(&data[at + 4]);
    EXPECT_EQ(length, film::FrameRecordSize(runs));
    if (length != film::FrameRecordSize(runs) || at + length > data.size()) break;
    size_t pixel = 0;
    for (int32_t i = 0; i < runs; ++i) {
      const film::TRun run = film::DecodeRun(&data[at + film::kFrameHeaderSize + film::kRunSize * i]);
      EXPECT_GE(run.Length, 1);  // a 16-bit length cannot exceed 65,535 by itself
      for (uint16_t k = 0; k < run.Length && pixel < picture.size(); ++k) picture[pixel++] ^= run.Value;
    }
    EXPECT_EQ(pixel, picture.size()) << "run lengths must add up to width x height";
    pictures.push_back(picture);
    at += length;
  }
  return pictures;
}

// --- pictures to write ---------------------------------------------------------------

// A picture of 24-bit values plus a pixel buffer holding it in the given layout,
// with junk in the fourth bytes and the row padding that the writer must ignore.
struct TTestPicture {
  std::vector<uint32_t> Values;
  Bytes Buffer;
  int32_t Width, Height, BitsPerPixel, Stride;
  TPixels Pixels() const { return {Buffer.data(), Width, Height, BitsPerPixel, Stride}; }
};

TTestPicture MakePicture(int32_t width, int32_t height, int32_t bpp, int32_t padding, uint32_t seed) {
  TTestPicture p;
  const int32_t step = bpp / 8, stride = width * step + padding;
  p.Buffer.assign(static_cast<size_t>(stride) * height, 0xAB);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      // Mostly one colour, with a block that moves with the seed: long runs and short ones.
      const bool block = x >= static_cast<int32_t>(seed % 5) && x < static_cast<int32_t>(seed % 5) + 3 && y < 2;
      const uint32_t v = block ? (0x102030u * (x + 1) + seed) & 0xFFFFFF : 0x336699;
      p.Values.push_back(v);
      uint8_t* px = &p.Buffer[static_cast<size_t>(y) * stride + x * step];
      px[0] = static_cast<uint8_t>(v);
      px[1] = static_cast<uint8_t>(v >> 8);
      px[2] = static_cast<uint8_t>(v >> 16);
    }
  }
  p.Width = width, p.Height = height, p.BitsPerPixel = bpp, p.Stride = stride;
  return p;
}

Bytes TitleField(const std::string& title) {
  Bytes b{static_cast<uint8_t>(title.size())};
  b.insert(b.end(), title.begin(), title.end());
  return b;
}

class FilmWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FFolder = fs::temp_directory_path() / ("zeWT_" + std::to_string(::getpid()) + "_" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(FFolder);
    fs::create_directories(FFolder);
  }
  void TearDown() override { fs::remove_all(FFolder); }
  std::string PathOf(const std::string& name) const { return (FFolder / name).string(); }
  Bytes WriteAndRead(TFilmWriter& film) {
    film.WriteZef(PathOf("film.zef"));
    return ReadWholeFile(PathOf("film.zef"));
  }
  fs::path FFolder;
};

}  // namespace

// --- frame records -------------------------------------------------------------------

TEST(FrameEncoder, UnchangedFrameOf885x638IsTheNineZeroRunRecord) {
  const int32_t w = 885, h = 638;
  Bytes bgrx(static_cast<size_t>(w) * h * 4);
  for (size_t i = 0; i < bgrx.size(); i += 4) bgrx[i] = 1, bgrx[i + 1] = 2, bgrx[i + 2] = 3, bgrx[i + 3] = 99;
  TFrameEncoder encoder(w, h);
  Bytes first, second;
  encoder.Encode({bgrx.data(), w, h, 32, 0}, first);
  encoder.Encode({bgrx.data(), w, h, 32, 0}, second);

  // The same nine runs both times: 8 x 65,535 + 40,350 = 564,630 pixels; the
  // first against black carries the colour (blue in the low byte), the second 0.
  for (const auto& [record, value] : {std::pair{first, 0x030201u}, std::pair{second, 0u}}) {
    ASSERT_EQ(record.size(), 53u);
    EXPECT_EQ(GetI32(&record[0]), 53);
    EXPECT_EQ(GetI32(&record[4]), 9);
    for (int i = 0; i < 9; ++i) {
      const film::TRun run = film::DecodeRun(&record[film::kFrameHeaderSize + film::kRunSize * i]);
      EXPECT_EQ(run.Value, value);
      EXPECT_EQ(run.Length, i < 8 ? 65535 : 40350);
    }
  }
  // On disk: blue, green, red, then the length low byte first.
  EXPECT_EQ(Bytes(first.begin() + 8, first.begin() + 13), (Bytes{0x01, 0x02, 0x03, 0xFF, 0xFF}));
  EXPECT_EQ(Bytes(first.end() - 5, first.end()), (Bytes{0x01, 0x02, 0x03, 0x9E, 0x9D}));
}

TEST(FrameEncoder, RecordsRebuildThePicturesThatWereGiven) {
  struct Case {
    int32_t width, height, bpp, padding;
  } cases[] = {
      {7, 5, 24, 3},     // 24-bit rows with padding that must be skipped
      {885, 3, 32, 0},   // runs that cross row ends
      {300, 300, 32, 8}, // a first frame longer than one run can be
      {1, 1, 24, 0},     // a single pixel
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + "@" + std::to_string(c.bpp));
    TFrameEncoder encoder(c.width, c.height);
    Bytes data, record;
    std::vector<std::vector<uint32_t>> given;
    for (uint32_t seed : {1u, 2u, 2u, 7u}) {
      const TTestPicture p = MakePicture(c.width, c.height, c.bpp, c.padding, seed);
      encoder.Encode(p.Pixels(), record);
      data.insert(data.end(), record.begin(), record.end());
      given.push_back(p.Values);
    }
    EXPECT_EQ(PlayFrames(data, c.width, c.height), given);
  }
}

// --- cursor records ------------------------------------------------------------------

TEST(CursorRecord, TheThreeKindsHaveTheirSizesAndBits) {
  std::vector<uint32_t> argb(32 * 32, 0);  // transparent but for one opaque pixel
  argb[1 * 32 + 2] = 0xFF112233;
  std::vector<TMonoPixel> mono(32 * 32, TMonoPixel::Transparent);
  mono[0] = TMonoPixel::Black;
  mono[1] = TMonoPixel::White;
  mono[2] = TMonoPixel::Inverted;

  struct Case {
    const char* name;
    TCursorRecord record;
    size_t size;
    film::TImageInfo mask, color;
  } cases[] = {
      {"colour", ColorCursor(3, 4, 32, 32, argb), 4258, {128, 32, 32, 1}, {4096, 32, 32, 32}},
      {"monochrome", MonochromeCursor(15, 16, 32, 32, mono), 290, {256, 32, 64, 1}, {0, 0, 0, 0}},
      {"empty", EmptyCursor(), 34, {0, 0, 0, 0}, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes bytes = EncodeCursorRecord(c.record);
    ASSERT_EQ(bytes.size(), c.size);
    EXPECT_EQ(GetI32(&bytes[0]), c.record.HotSpotX);
    EXPECT_EQ(GetI32(&bytes[4]), c.record.HotSpotY);
    const film::TImageInfo mask = film::DecodeImageInfo(&bytes[film::kMaskInfoOffset]);
    const film::TImageInfo color = film::DecodeImageInfo(&bytes[film::kMaskBitsOffset + c.mask.Size]);
    EXPECT_EQ(std::tie(mask.Size, mask.Width, mask.Height, mask.BitsPerPixel),
              std::tie(c.mask.Size, c.mask.Width, c.mask.Height, c.mask.BitsPerPixel));
    EXPECT_EQ(std::tie(color.Size, color.Width, color.Height, color.BitsPerPixel),
              std::tie(c.color.Size, c.color.Width, c.color.Height, c.color.BitsPerPixel));
  }

  // Colour: mask bit 1 (leftmost pixel in the top bit) where transparent; colour B, G, R, 0.
  const Bytes colour = EncodeCursorRecord(cases[0].record);
  const uint8_t* maskRow1 = &colour[film::kMaskBitsOffset + 4];
  EXPECT_EQ(maskRow1[0], 0xDF);  // pixel 2 of row 1 is opaque
  const uint8_t* pixel = &colour[film::kMaskBitsOffset + 128 + film::kImageInfoSize + (32 + 2) * 4];
  EXPECT_EQ(Bytes(pixel, pixel + 4), (Bytes{0x33, 0x22, 0x11, 0x00}));
  EXPECT_EQ(colour[film::kMaskBitsOffset + 128 + film::kImageInfoSize], 0);  // transparent pixels are 0

  // Monochrome: AND half on top, XOR half below; black (0,0), white (0,1), inverted (1,1).
  const Bytes mono2 = EncodeCursorRecord(cases[1].record);
  EXPECT_EQ(mono2[film::kMaskBitsOffset] >> 4, 0x3);        // AND: black 0, white 0, inverted 1, transparent 1
  EXPECT_EQ(mono2[film::kMaskBitsOffset + 128] >> 4, 0x6);  // XOR: black 0, white 1, inverted 1, transparent 0
}

TEST(CursorRecord, SizeFieldsAreWrittenAsGivenForBrokenRecords) {
  TCursorRecord broken = EmptyCursor();
  broken.MaskInfo = {5000, 32, 32, 1};  // claims more bits than it carries
  broken.MaskBits.assign(10, 0xFF);
  const Bytes bytes = EncodeCursorRecord(broken);
  ASSERT_EQ(bytes.size(), 34u + 10u);
  EXPECT_EQ(GetI32(&bytes[film::kMaskInfoOffset]), 5000);
  EXPECT_EQ(bytes[film::kMaskBitsOffset + 9], 0xFF);
  EXPECT_THROW(ColorCursor(0, 0, 32, 32, std::vector<uint32_t>(31 * 32)), Exception);
}

// --- whole films ---------------------------------------------------------------------

TEST_F(FilmWriterTest, TwoSegmentLzmaFilmReadsBackPieceByPiece) {
  const std::vector<TCursorRecord> cursors = DemoCursors();
  std::vector<std::vector<TTestPicture>> pictures(2);
  const Bytes third{9, 8, 7}, sound{0xFF, 0xFB, 0x90, 0x00, 1, 2, 3};

  TFilmWriter film(FFolder.string());
  TSegmentFormat first;
  first.Width = 40, first.Height = 30, first.FrameRate = 10, first.Title = "Part one";
  TSegmentWriter& one = film.AddSegment(first);
  for (const TCursorRecord& c : cursors) one.AddCursor(c);
  for (uint32_t seed : {1u, 2u, 3u}) {
    pictures[0].push_back(MakePicture(40, 30, 32, 0, seed));
    one.AddFrame(pictures[0].back().Pixels());
    one.AddTrackEntry({static_cast<uint16_t>(seed % 4), static_cast<uint16_t>(seed), 7});
  }
  TSegmentFormat second;
  second.Width = 33, second.Height = 7, second.BitsPerPixel = 24, second.FrameRate = 2.5f;
  second.ThreeTicksPerFrame = true, second.Title = "Two";
  TSegmentWriter& two = film.AddSegment(second);
  two.AddCursor(cursors[1]);
  for (uint32_t seed : {4u, 4u}) {
    pictures[1].push_back(MakePicture(33, 7, 24, 1, seed));
    two.AddFrame(pictures[1].back().Pixels());
    for (uint16_t tick = 0; tick < 3; ++tick) two.AddTrackEntry({0, tick, 1});
  }
  two.SetThirdBlock(third);
  two.SetSound(sound);

  const Bytes bytes = WriteAndRead(film);
  const TReadFilm read = ReadFilm(bytes);
  ASSERT_EQ(read.Count, 2);
  ASSERT_EQ(read.Segments.size(), 2u);
  EXPECT_EQ(read.Entries[0].Offset, 16);  // right behind a directory of two entries
  const TReadSegment& s1 = read.Segments[0];
  const TReadSegment& s2 = read.Segments[1];
  EXPECT_EQ(read.Entries[1].Offset, s1.Start + 54 + s1.Header.PayloadSize);
  EXPECT_EQ(s2.Start + 54 + s2.Header.PayloadSize + s2.Header.SoundSize, static_cast<int64_t>(bytes.size()));

  struct Expect {
    int32_t width, height, bpp;
    float rate;
    uint32_t flags;
    int32_t frames, cursors, trackEntries, thirdSize, soundSize;
  } expected[] = {
      {40, 30, 32, 10.0f, 0x2000, 3, 4, 3, 0, 0},
      {33, 7, 24, 2.5f, 0x2101, 2, 1, 6, 3, 7},  // LZMA, MP3, three ticks per frame
  };
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE("segment " + std::to_string(i + 1));
    const film::TSegmentHeader& h = read.Segments[i].Header;
    const Expect& e = expected[i];
    EXPECT_EQ(h.Version, 1);
    EXPECT_EQ(std::tie(h.Width, h.Height, h.FrameCount, h.CursorCount), std::tie(e.width, e.height, e.frames, e.cursors));
    EXPECT_EQ(h.BitsPerPixel, e.bpp);
    EXPECT_EQ(h.FrameRate, e.rate);
    EXPECT_EQ(h.Flags, e.flags);
    EXPECT_EQ(h.CursorTrackSize, e.trackEntries * 6);
    EXPECT_EQ(h.ThirdBlockSize, e.thirdSize);
    EXPECT_EQ(h.PayloadOffset, 54);
    EXPECT_EQ(h.SoundSize, e.soundSize);
    EXPECT_EQ(h.SoundOffset, 54 + h.PayloadSize);

    // LZMA-alone like the recorder's: 5D, 8 MiB dictionary, the decoded size stored.
    const Bytes& payload = read.Segments[i].Payload;
    EXPECT_EQ(Bytes(payload.begin(), payload.begin() + 5), (Bytes{0x5D, 0x00, 0x00, 0x80, 0x00}));
    const Bytes unpacked = UnpackLzma(payload);
    const TUnpacked u = Split(unpacked, h);
    EXPECT_EQ(u.TitleField, TitleField(i == 0 ? "Part one" : "Two"));
    std::vector<std::vector<uint32_t>> given;
    for (const TTestPicture& p : pictures[i]) given.push_back(p.Values);
    EXPECT_EQ(PlayFrames(u.FrameData, h.Width, h.Height), given);
    EXPECT_EQ(static_cast<int32_t>(u.Cursors.size()), e.cursors);
    EXPECT_EQ(u.Cursors[0], EncodeCursorRecord(cursors[i == 0 ? 0 : 1]));
    EXPECT_EQ(u.ThirdBlock, i == 0 ? Bytes{} : third);
  }
  // The second frame of segment two repeats the first: one record of one zero run.
  const TUnpacked u2 = Split(UnpackLzma(s2.Payload), s2.Header);
  EXPECT_EQ(Bytes(u2.FrameData.end() - 13, u2.FrameData.end()), (Bytes{13, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 231, 0}));
  EXPECT_EQ(Bytes(u2.Track.begin() + 6, u2.Track.begin() + 12), (Bytes{0, 0, 1, 0, 1, 0}));
  EXPECT_EQ(s2.Sound, sound);
}

TEST_F(FilmWriterTest, CabinetAndStoredPayloadsHoldTheUnpackedBytes) {
  struct Case {
    const char* name;
    TPackOptions packing;
    uint32_t compression;
    std::vector<std::string> listed;  // stored names in cabinet order; empty: not a cabinet
  };
  TPackOptions zip;
  zip.Method = TPackMethod::Cabinet;
  zip.CabinetName = "seg1.dat";
  TPackOptions plainWithExtras = zip;
  plainWithExtras.CabinetZip = false;
  plainWithExtras.CabinetExtraFiles = {{"readme.txt", {'h', 'i'}}, {"sub/more.bin", {1, 2, 3}}};
  TPackOptions payloadFirst = plainWithExtras;
  payloadFirst.CabinetPayloadFirst = true;
  TPackOptions stored;
  stored.Method = TPackMethod::Stored;
  TPackOptions storedFive = stored;
  storedFive.StoredCompression = 5;
  const Case cases[] = {
      {"MSZIP cabinet", zip, 0, {"seg1.dat"}},
      {"extra files first, payload last", plainWithExtras, 0, {"readme.txt", "sub\\more.bin", "seg1.dat"}},
      {"payload first", payloadFirst, 0, {"seg1.dat", "readme.txt", "sub\\more.bin"}},
      {"stored, other compression", stored, 1, {}},
      {"stored, value 5", storedFive, 5, {}},
  };

  // The unpacked payload these must carry, as the LZMA decoder sees it.
  auto build = [&](TFilmWriter& film, const TPackOptions& packing) {
    TSegmentFormat format;
    format.Width = 16, format.Height = 4, format.Title = "cab";
    TSegmentWriter& s = film.AddSegment(format, packing);
    s.AddCursor(EmptyCursor());
    s.AddFrame(MakePicture(16, 4, 32, 0, 3).Pixels());
    s.AddTrackEntry({0, 1, 2});
  };
  TFilmWriter lzmaFilm(FFolder.string());
  build(lzmaFilm, {});
  const TReadSegment reference = ReadFilm(WriteAndRead(lzmaFilm)).Segments.at(0);
  const Bytes unpacked = UnpackLzma(reference.Payload);

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TFilmWriter film(FFolder.string());
    build(film, c.packing);
    const TReadSegment s = ReadFilm(WriteAndRead(film)).Segments.at(0);
    EXPECT_EQ(s.Header.Flags, c.compression << 12);
    EXPECT_EQ(s.Header.FrameDataSize, reference.Header.FrameDataSize);
    if (c.listed.empty()) {
      EXPECT_EQ(s.Payload, unpacked);
      continue;
    }
    fs::remove_all(FFolder / "cab");
    const TCabinet cab = ReadCabinet(s.Payload, FFolder / "cab");
    EXPECT_EQ(cab.Names, c.listed);
    EXPECT_EQ(cab.Files.at("seg1.dat"), unpacked);
    for (const TCabinetFile& extra : c.packing.CabinetExtraFiles) EXPECT_EQ(cab.Files.at(extra.Name), extra.Bytes);
  }
}

TEST_F(FilmWriterTest, AppendedFilmEndsWithLanguageTextLFilmAndN) {
  const Bytes player{'M', 'Z', 0x90, 0, 3, 0, 0, 0, 4, 0};  // a stand-in for the player's image
  {
    TzeFileStream s(PathOf("player.exe"), OpenCreate);
    WriteAll(s, player);
  }
  const std::string table = "Error = Fehler\r\nPlay = Abspielen";
  for (const Bytes& language : {Bytes{}, Bytes(table.begin(), table.end())}) {
    SCOPED_TRACE(language.size());
    TFilmWriter film(FFolder.string());
    TSegmentFormat format;
    format.Width = 8, format.Height = 2;
    film.AddSegment(format).AddFrame(MakePicture(8, 2, 32, 0, 1).Pixels());
    const Bytes zef = WriteAndRead(film);
    film.WriteAppended(PathOf("player.exe"), language, PathOf("out.exe"));
    const Bytes out = ReadWholeFile(PathOf("out.exe"));

    const int64_t size = static_cast<int64_t>(out.size());
    const int32_t n = GetI32(&out[film::FilmSizePosition(size)]);
    const int32_t l = GetI32(&out[film::LanguageSizePosition(size, n)]);
    EXPECT_EQ(n, static_cast<int32_t>(zef.size()));
    EXPECT_EQ(l, static_cast<int32_t>(language.size()));
    EXPECT_EQ(size, static_cast<int64_t>(player.size() + language.size() + 4 + zef.size() + 4));
    film::TTail tail;
    ASSERT_TRUE(film::DecodeTail(size, n, l, tail));
    EXPECT_EQ(tail.LanguageStart, static_cast<int64_t>(player.size()));
    EXPECT_EQ(tail.FilmStart, static_cast<int64_t>(player.size() + language.size() + 4));
    EXPECT_EQ(Bytes(out.begin(), out.begin() + player.size()), player);
    EXPECT_EQ(Slice(out, tail.LanguageStart, l), language);
    EXPECT_EQ(Slice(out, tail.FilmStart, n), zef);
  }
}

TEST_F(FilmWriterTest, OverridesChangeTheirFieldsAndMoveNothing) {
  TFilmWriter film(FFolder.string());
  TSegmentFormat format;
  format.Width = 8, format.Height = 2;
  TSegmentFormat longTitle = format;
  longTitle.RawTitleField = Bytes(300, 'x');  // longer than the player's title field
  TSegmentWriter& newer = film.AddSegment(longTitle);
  newer.AddFrame(MakePicture(8, 2, 32, 0, 1).Pixels());
  newer.OverrideHeader([](film::TSegmentHeader& h) {
    h.Version = 2;
    h.PayloadSize = 7;
    h.Flags |= 0x80000000u;
  });
  film.AddRawEntry({999999, 2});
  film.AddSegment(format).AddFrame(MakePicture(8, 2, 32, 0, 2).Pixels());
  film.OverrideDirectory([](int32_t& count, std::vector<film::TDirEntry>& entries) {
    count = 5;
    entries[2].Kind = 3;
  });

  const Bytes bytes = WriteAndRead(film);
  const TReadFilm read = ReadFilm(bytes, 3);
  EXPECT_EQ(read.Count, 5);
  ASSERT_EQ(read.Entries.size(), 3u);
  EXPECT_EQ(read.Entries[0].Offset, 4 + 3 * 6);
  EXPECT_EQ(read.Entries[1].Offset, 999999);
  EXPECT_EQ(read.Entries[1].Kind, 2);
  EXPECT_EQ(read.Entries[2].Kind, 3);
  const film::TSegmentHeader h = read.Segments.at(0).Header;
  EXPECT_EQ(h.Version, 2);
  EXPECT_EQ(h.PayloadSize, 7);
  EXPECT_EQ(h.Flags, 0x80002000u);
  // The payload is still whole: the second segment's header lies where the
  // directory says, right after it.
  const film::TSegmentHeader next = film::DecodeSegmentHeader(&bytes[read.Entries[2].Offset]);
  EXPECT_EQ(next.Version, 1);
  EXPECT_EQ(next.Width, 8);
  EXPECT_EQ(read.Entries[2].Offset + 54 + next.PayloadSize, static_cast<int32_t>(bytes.size()));
  const Bytes payload = Slice(bytes, read.Entries[0].Offset + 54, read.Entries[2].Offset - read.Entries[0].Offset - 54);
  const Bytes unpacked = UnpackLzma(payload);
  ASSERT_EQ(unpacked.size(), 4u + 300 + h.FrameDataSize);  // T, the raw title, one frame
  EXPECT_EQ(GetI32(unpacked.data()), 300);
}

TEST_F(FilmWriterTest, RefusesWhatItCannotWrite) {
  TFilmWriter film(FFolder.string());
  TSegmentFormat format;
  format.Width = 8, format.Height = 2;
  const TTestPicture picture = MakePicture(8, 2, 32, 0, 1);
  const TTestPicture wrongSize = MakePicture(9, 2, 32, 0, 1);

  TSegmentFormat longTitle = format;
  longTitle.Title.assign(256, 'x');
  EXPECT_THROW(film.AddSegment(longTitle), Exception);

  TSegmentWriter& s = film.AddSegment(format);
  EXPECT_THROW(s.AddFrame(wrongSize.Pixels()), Exception);
  s.AddFrame(picture.Pixels());
  EXPECT_THROW(s.AddCursor(EmptyCursor()), Exception);  // cursor records precede the frames

  for (const char* name : {"", "../up.dat", "/abs.dat", "a/./b"}) {
    TPackOptions packing;
    packing.Method = TPackMethod::Cabinet;
    packing.CabinetName = name;
    EXPECT_THROW(film.AddSegment(format, packing), Exception) << name;
  }
  film.OverrideDirectory([](int32_t&, std::vector<film::TDirEntry>& entries) { entries.push_back({0, 1}); });
  EXPECT_THROW(film.WriteZef(PathOf("x.zef")), Exception);
}

// --- the demo film -------------------------------------------------------------------

TEST_F(FilmWriterTest, DemoFilmIsTwoPlausibleSegments) {
  TDemoFilmOptions options;
  options.Width = 320, options.Height = 240, options.FramesPerSegment = 16;
  TFilmWriter film(FFolder.string());
  AddDemoSegments(film, options);
  const TReadFilm read = ReadFilm(WriteAndRead(film));
  ASSERT_EQ(read.Segments.size(), 2u);

  const uint32_t flags[] = {0x2000, 0x2001};
  const std::string titles[] = {"Typing a note", "Moving a window"};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(titles[i]);
    const film::TSegmentHeader& h = read.Segments[i].Header;
    EXPECT_EQ(h.Flags, flags[i]);
    EXPECT_EQ(h.FrameCount, 16);
    const int32_t ticks = i == 0 ? 1 : 3;
    EXPECT_EQ(h.CursorTrackSize, 16 * ticks * 6);
    const TUnpacked u = Split(UnpackLzma(read.Segments[i].Payload), h);
    EXPECT_EQ(u.TitleField, TitleField(titles[i]));
    std::vector<size_t> sizes;
    for (const Bytes& c : u.Cursors) sizes.push_back(c.size());
    EXPECT_EQ(sizes, (std::vector<size_t>{4258, 290, 4258, 34}));

    // The pictures are the scene's, and after the first only small regions change.
    const TDemoScene scene(i == 0 ? TDemoScript::Typing : TDemoScript::MovingWindow, 320, 240, 16, ticks);
    const auto played = PlayFrames(u.FrameData, 320, 240);
    ASSERT_EQ(played.size(), 16u);
    TCanvas canvas(320, 240);
    int32_t changedFrames = 0;
    for (int32_t f = 0; f < 16; ++f) {
      scene.Render(f, canvas);
      std::vector<uint32_t> drawn;
      for (int32_t y = 0; y < 240; ++y)
        for (int32_t x = 0; x < 320; ++x) drawn.push_back(canvas.At(x, y));
      EXPECT_EQ(played[f], drawn) << "frame " << f;
      if (f == 0) continue;
      int32_t changed = 0;
      for (size_t k = 0; k < drawn.size(); ++k) changed += played[f][k] != played[f - 1][k];
      EXPECT_LT(changed, 320 * 240 / 4) << "frame " << f;
      changedFrames += changed > 0;
    }
    EXPECT_GE(changedFrames, 8);

    // The cursor stays on the picture, uses the four images and moves.
    std::map<uint16_t, int> used;
    for (size_t k = 0; k < u.Track.size(); k += 6) {
      const film::TTrackEntry e = film::DecodeTrackEntry(&u.Track[k]);
      EXPECT_LT(e.Cursor, 4);
      EXPECT_LT(e.X, 320);
      EXPECT_LT(e.Y, 240);
      ++used[e.Cursor];
    }
    EXPECT_GE(used.size(), 2u);
    EXPECT_NE(Bytes(u.Track.begin(), u.Track.begin() + 6), Bytes(u.Track.end() - 6, u.Track.end()));
  }
}

// --- the command line ------------------------------------------------------------

TEST_F(FilmWriterTest, ZefilmAppendsTheDemoFilmAsAsked) {
  const Bytes player{'M', 'Z', 1, 2, 3}, language{'P', 'l', 'a', 'y', '=', 'x'}, sound{0xFF, 0xFB, 0x50, 0xC4};
  for (const auto& [name, bytes] : {std::pair{"player.exe", player}, {"table.txt", language}, {"s.mp3", sound}}) {
    TzeFileStream s(PathOf(name), OpenCreate);
    WriteAll(s, bytes);
  }
  ASSERT_EQ(RunProgram({ZEFILM_PATH, "--exe", "player.exe", "--language", "table.txt", "--sound", "s.mp3",
                        "--compression", "cab-stored", "--size", "160x120", "--frames", "3", "--rate", "4",
                        "--bpp", "24", "out.exe"},
                       FFolder.string()),
            0);
  const Bytes out = ReadWholeFile(PathOf("out.exe"));
  const int64_t size = static_cast<int64_t>(out.size());
  film::TTail tail;
  ASSERT_TRUE(film::DecodeTail(size, GetI32(&out[size - 4]), GetI32(&out[size - GetI32(&out[size - 4]) - 8]), tail));
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 5), player);
  EXPECT_EQ(Slice(out, tail.LanguageStart, tail.LanguageSize), language);
  const TReadFilm read = ReadFilm(Slice(out, tail.FilmStart, tail.FilmSize));
  ASSERT_EQ(read.Segments.size(), 2u);
  const uint32_t flags[] = {0x0100, 0x0001};  // cabinet; MP3 on the first, three ticks on the second
  for (int i = 0; i < 2; ++i) {
    const film::TSegmentHeader& h = read.Segments[i].Header;
    EXPECT_EQ(std::tie(h.Width, h.Height, h.FrameCount), std::make_tuple(160, 120, 3));
    EXPECT_EQ(h.BitsPerPixel, 24);
    EXPECT_EQ(h.FrameRate, 4.0f);
    EXPECT_EQ(h.Flags, flags[i]);
  }
  EXPECT_EQ(read.Segments[0].Sound, sound);

  // Bad arguments print the usage and fail.
  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"--size", "10x10", "a.zef"}, {"--frames", "0", "a.zef"}, {"--compression", "zip", "a.zef"},
           {"--language", "table.txt", "a.zef"}, {"--wrong", "a.zef"}, {}}) {
    std::vector<std::string> command{ZEFILM_PATH};
    command.insert(command.end(), bad.begin(), bad.end());
    EXPECT_EQ(RunProgram(command, FFolder.string(), PathOf("usage.txt")), 2) << (bad.empty() ? "none" : bad[0]);
    const Bytes usage = ReadWholeFile(PathOf("usage.txt"));
    EXPECT_NE(std::string(usage.begin(), usage.end()).find("Usage: zefilm"), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(FFolder / "a.zef"));
}
