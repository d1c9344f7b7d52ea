// Loading a film as the player does (LoadFilm: payloads copied out of the film,
// LZMA-decoded file to file, blocks distributed into the segment records), each
// load into a fresh temporary folder that is cleared afterwards. With payload
// files given, also times the player's decoder alone on them (DecodeLzmaPayload).
// Prints every time in milliseconds and the medians (after one uncounted warm-up
// load); run by bench/load_bench.sh:
//   load_bench FILM.zef TEMPPARENT\ LOADS [PAYLOAD.lzma...]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "app/FilmLoader.h"
#include "app/Globals.h"
#include "app/TestLog.h"
#include "foundation/SegmentList.h"
#include "shell/zePStrings.h"

namespace {


int boxes = 0;
int ReportBox(const std::string& text, const std::string& caption, UINT) {
  std::fprintf(stderr, "load_bench: message box %s: %s\n", caption.c_str(), text.c_str());
  ++boxes;
  return IDOK;
}

// Removes what the loader left in the folder (nothing, when it cleans up after
// itself), then the folder; returns the number of files it had to remove.
int ClearFolder(const std::string& folder) {
  int left = 0;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        left += ClearFolder(folder + name + "\\") + 1;
      } else {
        SetFileAttributesA((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA((folder + name).c_str());
        ++left;
      }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(folder.c_str());
  return left;
}

std::string FreshFolder(const std::string& parent) {
  static int counter = 0;
  for (;;) {
    const std::string path =
        parent + "zeLB_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(counter++) + "\\";
    if (CreateDirectoryA(path.c_str(), nullptr)) return path;
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
      std::fprintf(stderr, "load_bench: cannot create %s\n", path.c_str());
      std::exit(1);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: load_bench FILM.zef TEMPPARENT\\ LOADS [PAYLOAD.lzma...]\n");
    return 2;
  }
  const std::string film = argv[1];
  std::string parent = argv[2];
  if (parent.back() != '\\') parent += '\\';
  const int loads = std::max(1, std::atoi(argv[3]));
  texts::AssignDefaultTexts();
  SetMessageBoxHandler(ReportBox);

  std::vector<double> loadTimes, decodeTimes;
  int64_t frameBytes = 0;
  int leftBehind = 0;
  // One load more than counted: the first meets cold caches and Wine's first file operations.
  for (int i = 0; i <= loads; ++i) {
    TempFolder = FreshFolder(parent);
    SegmentList = new TSegmentList;
    bool loaded = false;
    double seconds = 0;
    {
      TzeFileStream stream(film, OpenReadDenyWrite);
      const auto t0 = Clock::now();
      loaded = LoadFilm(stream);
      seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    }
    frameBytes = 0;
    for (int32_t s = 0; s < SegmentList->Count(); ++s) frameBytes += SegmentList->Item(s)->FrameData->GetSize();
    if (!loaded || SegmentList->Count() != 2 || boxes != 0) {
      std::fprintf(stderr, "load_bench: the film did not load whole (%d segments)\n", SegmentList->Count());
      return 1;
    }
    if (i > 0) loadTimes.push_back(seconds);
    delete SegmentList;
    SegmentList = nullptr;
    leftBehind += ClearFolder(TempFolder);

    // The decoder alone, file to file, on the same payloads.
    if (argc > 4) {
      TempFolder = FreshFolder(parent);
      const auto t0 = Clock::now();
      for (int p = 4; p < argc; ++p)
        if (DecodeLzmaPayload(argv[p]).empty()) {
          std::fprintf(stderr, "load_bench: cannot decode %s\n", argv[p]);
          return 1;
        }
      if (i > 0) decodeTimes.push_back(std::chrono::duration<double>(Clock::now() - t0).count());
      ClearFolder(TempFolder);
    }
  }

  std::printf("LoadFilm, %d loads, %lld bytes of frame data:", loads, static_cast<long long>(frameBytes));
  for (double t : loadTimes) std::printf(" %.0f", t * 1e3);
  std::printf(" ms\nLoadFilm median: %.1f ms\n", Median(loadTimes) * 1e3);
  if (!decodeTimes.empty()) {
    std::printf("DecodeLzmaPayload of the payloads:");
    for (double t : decodeTimes) std::printf(" %.0f", t * 1e3);
    std::printf(" ms\nDecodeLzmaPayload median: %.1f ms\n", Median(decodeTimes) * 1e3);
  }
  if (leftBehind != 0) std::printf("files and folders the loads left behind: %d\n", leftBehind);
  return 0;
}
