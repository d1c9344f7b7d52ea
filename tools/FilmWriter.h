// The film writer: segments (see SegmentWriter.h) laid out behind a directory,
// written as a ".zef" film or appended to a copy of the player with the tail
// [language text L][L][film N][N]. Payloads move file to file, so memory stays
// bounded by one frame and the small blocks, whatever the film's size.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "film/FilmFormat.h"
#include "foundation/zeClasses.h"
#include "tools/SegmentWriter.h"
#include "tools/WorkFolder.h"

namespace filmwriter {

class TFilmWriter {
 public:
  // Intermediate files go to a private folder inside workParent (empty: the
  // system's temporary folder), removed with the writer.
  explicit TFilmWriter(const std::string& workParent = "");
  ~TFilmWriter();

  // Starts the next segment; the film owns it. The segment before is finished
  // first, so only one segment at a time holds a picture in memory.
  TSegmentWriter& AddSegment(const TSegmentFormat& format, const TPackOptions& packing = {});
  // A directory entry written as given, in its place among the segments' entries.
  void AddRawEntry(const film::TDirEntry& entry);
  // Changes the directory once the offsets are known: count is what is written
  // as C; entries may be changed but not added or removed. The segments stay
  // where they are.
  void OverrideDirectory(std::function<void(int32_t& count, std::vector<film::TDirEntry>& entries)> edit);

  // Writes the film at the stream's position: [C][entries][header, payload, sound]...
  // Returns its size N. May be called more than once.
  int64_t WriteFilm(TzeStream& out);
  // A ".zef" film: the film from the file's first byte, without a tail.
  void WriteZef(const std::string& path);
  // A copy of the player with the tail appended; an empty language text gives L = 0.
  void WriteAppended(const std::string& playerPath, const std::vector<uint8_t>& languageText,
                     const std::string& outPath);

 private:
  struct TItem {
    TSegmentWriter* Segment;  // none: a raw entry
    film::TDirEntry Raw;
  };
  TWorkFolder FFolder;  // declared first: the segments' files inside it go before it
  std::vector<std::unique_ptr<TSegmentWriter>> FSegments;
  std::vector<TItem> FItems;
  std::function<void(int32_t&, std::vector<film::TDirEntry>&)> FDirectoryEdit;
};

}  // namespace filmwriter
