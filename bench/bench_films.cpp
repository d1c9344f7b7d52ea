// The films of the Wine benchmarks, made with the film writer from the demo scenes:
//   bench_films play PLAYER.exe OUT.exe
//       a self-playing copy of the player: one segment of 300 frames of typing at
//       255 frames per second, one clock tick per frame (playback_rate.sh)
//   bench_films load OUTDIR
//       OUTDIR/load.zef: two LZMA segments of about 14 MB of frame data each, a
//       recorded desktop session at 10 frames per second; next to it each
//       segment's packed payload (segment1.lzma, segment2.lzma) and blocks.txt,
//       a line "<payload file> <decoded bytes> <bytes of frame data, cursor
//       track and third block>" per segment (load_bench.sh)
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchRecords.h"
#include "foundation/Bytes.h"
#include "tools/DemoScenes.h"
#include "tools/FilmWriter.h"

using namespace filmwriter;

namespace {

constexpr int32_t kPassFrames = 300;  // frames of one pass through a demo scene

TSegmentWriter& NewSegment(TFilmWriter& film, float rate, const char* title) {
  TSegmentFormat format;
  format.Width = bench::kWidth;
  format.Height = bench::kHeight;
  format.BitsPerPixel = 32;
  format.FrameRate = rate;
  format.Title = title;
  TSegmentWriter& segment = film.AddSegment(format);
  for (const TCursorRecord& cursor : DemoCursors()) segment.AddCursor(cursor);
  return segment;
}

int Play(const std::string& player, const std::string& out) {
  TFilmWriter film;
  // The highest rate the header's rounded byte can carry.
  TSegmentWriter& segment = NewSegment(film, 255.0f, "Typing at 255 frames per second");
  const TDemoScene scene(TDemoScript::Typing, bench::kWidth, bench::kHeight, kPassFrames, 1);
  TCanvas canvas(bench::kWidth, bench::kHeight);
  for (int32_t frame = 0; frame < kPassFrames; ++frame) {
    scene.Render(frame, canvas);
    segment.AddFrame(canvas.Pixels());
    segment.AddTrackEntry(scene.CursorAt(frame, 0));
  }
  film.WriteAppended(player, {}, out);
  return 0;
}

// Passes through the typing and the moving-window scene in turn, as a session
// of someone writing and arranging windows, until the frame data reaches target.
void AddSession(TSegmentWriter& segment, bool typingFirst, int64_t target) {
  TFrameEncoder encoder(bench::kWidth, bench::kHeight);
  TCanvas canvas(bench::kWidth, bench::kHeight);
  std::vector<uint8_t> record;
  int64_t written = 0;
  for (int32_t pass = 0; written < target; ++pass) {
    const bool typing = (pass % 2 == 0) == typingFirst;
    // Passes of different lengths: another pace of typing and dragging each time.
    const int32_t frames = kPassFrames + 37 * pass;
    const TDemoScene scene(typing ? TDemoScript::Typing : TDemoScript::MovingWindow, bench::kWidth, bench::kHeight,
                           frames, 1);
    for (int32_t frame = 0; frame < frames && written < target; ++frame) {
      scene.Render(frame, canvas);
      encoder.Encode(canvas.Pixels(), record);
      segment.AddFrameRecord(record);
      segment.AddTrackEntry(scene.CursorAt(frame, 0));
      written += static_cast<int64_t>(record.size());
    }
  }
}

// The decoded size the LZMA-alone header carries.
uint64_t DecodedSize(const std::string& payload) {
  uint8_t head[film::kLzmaHeaderSize];
  FILE* f = std::fopen(payload.c_str(), "rb");
  const bool read = f && std::fread(head, 1, sizeof head, f) == sizeof head;
  if (f) std::fclose(f);
  if (!read) throw std::runtime_error("cannot read " + payload);
  return GetU64(head + film::kLzmaDecodedSizeOffset);
}

int Load(const std::string& dir) {
  constexpr int64_t kFrameDataPerSegment = 14000000;
  std::filesystem::create_directories(dir);
  TFilmWriter film(dir);
  FILE* blocks = std::fopen((dir + "/blocks.txt").c_str(), "w");
  if (!blocks) throw std::runtime_error("cannot write " + dir + "/blocks.txt");
  for (int32_t i = 1; i <= 2; ++i) {
    TSegmentWriter& segment = NewSegment(film, 10.0f, i == 1 ? "Writing notes" : "Arranging windows");
    AddSession(segment, i == 1, kFrameDataPerSegment);
    segment.Finish();
    const film::TSegmentHeader& h = segment.Header();
    const std::string name = "segment" + std::to_string(i) + ".lzma";
    std::filesystem::copy_file(segment.PayloadFile(), dir + "/" + name,
                               std::filesystem::copy_options::overwrite_existing);
    const uint64_t decoded = DecodedSize(segment.PayloadFile());
    const int64_t blockBytes = static_cast<int64_t>(h.FrameDataSize) + h.CursorTrackSize + h.ThirdBlockSize;
    std::fprintf(blocks, "%s %llu %lld\n", name.c_str(), static_cast<unsigned long long>(decoded),
                 static_cast<long long>(blockBytes));
    std::printf("segment %d: %d frames, frame data %d bytes, decoded payload %llu bytes, packed %d bytes (%.0f:1)\n",
                i, h.FrameCount, h.FrameDataSize, static_cast<unsigned long long>(decoded), h.PayloadSize,
                static_cast<double>(decoded) / h.PayloadSize);
  }
  std::fclose(blocks);
  film.WriteZef(dir + "/load.zef");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  try {
    if (mode == "play" && argc == 4) return Play(argv[2], argv[3]);
    if (mode == "load" && argc == 3) return Load(argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_films: %s\n", e.what());
    return 1;
  }
  std::fprintf(stderr, "usage: bench_films play PLAYER.exe OUT.exe\n       bench_films load OUTDIR\n");
  return 2;
}
