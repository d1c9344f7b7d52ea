// Applying frame records to the player's picture (885 x 638, 32-bit top-down),
// against one memcpy of that picture timed in the same run: a full-screen
// change, typical recording steps, an unchanged frame and the worst case of one
// run per pixel, from pictures handed to the encoder at 32 and at 24 bits per
// pixel. Prints the medians of interleaved rounds, so that a busy moment of the
// machine hits every figure alike.
//   frame_bench [rounds, default 15]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench/BenchTiming.h"
#include "bench/BenchRecords.h"
#include "engine/FrameDecoder.h"

namespace {

constexpr double kBatchSeconds = 0.03;

enum class TGoal { TimesMemcpy, NsPerRun };
struct TCase {
  bench::TRecordSet Set;
  int32_t Bits = 32;
  TGoal Kind = TGoal::TimesMemcpy;
  double Goal = 0;
  int64_t Iterations = 1;     // applications of the whole set per batch
  std::vector<double> Times;  // seconds per record, one per round
};

// Enough repetitions for a batch of about kBatchSeconds, so the clock's grain does not count.
template <typename F>
int64_t Calibrate(F once) {
  once();  // warm the caches and the pages
  int64_t n = 1;
  while (Seconds([&] { for (int64_t i = 0; i < n; ++i) once(); }) < kBatchSeconds / 4 && n < (1 << 24)) n *= 2;
  return n * 4;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  std::vector<uint32_t> picture(static_cast<size_t>(bench::kPixels), 0);
  std::vector<uint32_t> copy(picture.size(), 0);
  const size_t pictureBytes = picture.size() * sizeof(uint32_t);

  std::vector<TCase> cases;
  auto add = [&](bench::TRecordSet set, int32_t bits, TGoal kind, double goal) {
    TCase c;
    c.Set = std::move(set);
    c.Bits = bits;
    c.Kind = kind;
    c.Goal = goal;
    cases.push_back(std::move(c));
  };
  for (int32_t bits : {32, 24}) {
    add(bench::FullScreenChange(bits), bits, TGoal::TimesMemcpy, 4.0);
    add(bench::TypingSteps(bits, 100, 100), bits, TGoal::TimesMemcpy, 0.5);
    add(bench::DragSteps(bits, 100, 100), bits, TGoal::TimesMemcpy, 0.5);
    add(bench::Unchanged(bits), bits, TGoal::TimesMemcpy, 0.05);
    add(bench::EveryPixelARun(bits), bits, TGoal::NsPerRun, 1.5);
  }
  // The encoder reads only blue, green and red, so both depths should give the same records.
  const size_t half = cases.size() / 2;
  bool sameRecords = true;
  for (size_t i = 0; i < half; ++i) sameRecords = sameRecords && cases[i].Set.Records == cases[half + i].Set.Records;
  // A record that did not cover the picture exactly would time something else.
  for (const TCase& c : cases)
    for (const auto& r : c.Set.Records) {
      const engine::TApplyResult result =
          engine::ApplyFrameRecord(r.data(), static_cast<int32_t>(r.size()), picture.data(), bench::kPixels);
      if (result.Covered != bench::kPixels || result.Clipped) {
        std::fprintf(stderr, "frame_bench: %s covers %lld pixels\n", c.Set.Name.c_str(),
                     static_cast<long long>(result.Covered));
        return 1;
      }
    }

  auto copyOnce = [&] {
    std::memcpy(copy.data(), picture.data(), pictureBytes);
    asm volatile("" : : "r"(copy.data()) : "memory");  // the copy counts as used
  };
  auto applyOnce = [&](const TCase& c) {
    for (const auto& r : c.Set.Records)
      engine::ApplyFrameRecord(r.data(), static_cast<int32_t>(r.size()), picture.data(), bench::kPixels);
    asm volatile("" : : "r"(picture.data()) : "memory");
  };
  const int64_t copyIterations = Calibrate(copyOnce);
  for (TCase& c : cases) c.Iterations = Calibrate([&] { applyOnce(c); });

  std::vector<double> copyTimes;
  for (int round = 0; round < rounds; ++round) {
    copyTimes.push_back(Seconds([&] { for (int64_t i = 0; i < copyIterations; ++i) copyOnce(); }) / copyIterations);
    for (TCase& c : cases) {
      const double t = Seconds([&] { for (int64_t i = 0; i < c.Iterations; ++i) applyOnce(c); });
      c.Times.push_back(t / static_cast<double>(c.Iterations * static_cast<int64_t>(c.Set.Records.size())));
    }
  }

  const double memcpyTime = Median(copyTimes);
  std::printf("picture %d x %d, 32 bits top-down, %zu bytes; medians of %d rounds\n", bench::kWidth, bench::kHeight,
              pictureBytes, rounds);
  std::printf("memcpy of the picture: %.1f us (%.1f GB/s)\n\n", memcpyTime * 1e6, pictureBytes / memcpyTime / 1e9);
  std::printf("%-24s %4s %7s %9s %9s %10s %9s %8s  %s\n", "record (per frame)", "bpp", "records", "runs",
              "bytes", "changed px", "apply us", "x memcpy", "goal");
  for (const TCase& c : cases) {
    const double n = static_cast<double>(c.Set.Records.size());
    const double t = Median(c.Times);
    const double ratio = t / memcpyTime;
    const double nsPerRun = t * 1e9 / (static_cast<double>(c.Set.Runs()) / n);
    char goal[96];
    if (c.Kind == TGoal::TimesMemcpy)
      std::snprintf(goal, sizeof goal, "<= %.2f x memcpy (%s)", c.Goal, ratio <= c.Goal ? "met" : "not met");
    else
      std::snprintf(goal, sizeof goal, "<= %.1f ns per run: %.2f ns (%s)", c.Goal, nsPerRun,
                    nsPerRun <= c.Goal ? "met" : "not met");
    std::printf("%-24s %4d %7zu %9.0f %9.0f %10.0f %9.3f %8.4f  %s\n", c.Set.Name.c_str(), c.Bits,
                c.Set.Records.size(), static_cast<double>(c.Set.Runs()) / n, static_cast<double>(c.Set.Bytes()) / n,
                static_cast<double>(c.Set.ChangedPixels()) / n, t * 1e6, ratio, goal);
  }
  std::printf("\nruns, bytes and changed pixels are per record (means over the steps of a set).\n"
              "Records from 24-bit pictures %s those from 32-bit ones; both apply to the same 32-bit picture.\n",
              sameRecords ? "are byte for byte" : "DIFFER from");
  return 0;
}
