// The film in memory: one record per segment with its picture format, timing,
// title, cursor images and the streams and temporary files holding its data.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/zeClasses.h"

class TzeCursor;

class TCursorList {
 public:
  TCursorList();
  ~TCursorList();
  TCursorList(const TCursorList&) = delete;
  TCursorList& operator=(const TCursorList&) = delete;

  int32_t Add(std::unique_ptr<TzeCursor> cursor);
  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  TzeCursor* Item(int32_t index) const;
  void Clear();

 private:
  std::vector<std::unique_ptr<TzeCursor>> FItems;
};

// A plain record: a copy shares the owned objects and must not free them; only
// TSegmentList creates and frees them.
struct TSegmentInfo {
  int32_t Width = 0;
  int32_t Height = 0;
  uint8_t BitsPerPixel = 0;
  int32_t FrameCount = 0;
  uint8_t FrameRate = 0;
  std::string Title;  // at most 255 characters
  uint32_t Flags = 0;
  TCursorList* Cursors = nullptr;
  TzeFileStream* FrameData = nullptr;
  TzeMemoryStream* CursorTrack = nullptr;
  TzeMemoryStream* ThirdBlock = nullptr;
  std::string FrameFileName;
  std::string SoundFileName;  // empty: no extracted sound
  TzeFileStream* SoundWriter = nullptr;  // only while the loader writes the sound file
};

class TSegmentList {
 public:
  TSegmentList() = default;
  ~TSegmentList() { Clear(); }
  TSegmentList(const TSegmentList&) = delete;
  TSegmentList& operator=(const TSegmentList&) = delete;

  // A new record with its streams and its empty frame-data file in folder (an
  // empty folder: the system's temporary folder). Raises when the file cannot be made.
  TSegmentInfo* Add(const std::string& folder);
  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  TSegmentInfo* Item(int32_t index) const;
  // Frees a record and deletes its temporary files; other indexes move down.
  void Delete(int32_t index);
  // Frees every record and deletes their temporary files.
  void Clear();

  static constexpr size_t kGrowth = 16;

 private:
  std::vector<TSegmentInfo*> FItems;
};

// The sound-kind code of a sound file, in its place in the flags word:
// ".wav" 0x000, ".mp3" 0x100, ".mid" 0x200, anything else 0x000.
uint32_t SoundKindOfFile(const std::string& fileName);
