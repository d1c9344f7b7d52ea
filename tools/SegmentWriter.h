// Builds one segment: the unpacked payload [T][title][cursor records][frame data]
// [cursor track][third block] is packed as it grows, frames one at a time, and the
// 54-byte header is filled in from what was written.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "film/FilmFormat.h"
#include "tools/CursorRecord.h"
#include "tools/FrameEncoder.h"
#include "tools/PayloadPacker.h"
#include "tools/WorkFolder.h"

namespace filmwriter {

struct TSegmentFormat {
  int32_t Width = 0;
  int32_t Height = 0;
  uint8_t BitsPerPixel = 32;  // the header's colour depth; frames may be given at 24 or 32 either way
  float FrameRate = 10.0f;
  bool ThreeTicksPerFrame = false;  // three cursor-track entries per frame
  std::string Title;                // up to 255 characters, a short string with T = n + 1
  // Written in place of the title, with T = its size: for titles the recorder never writes.
  std::optional<std::vector<uint8_t>> RawTitleField;
};

class TSegmentWriter {
 public:
  TSegmentWriter(const TSegmentFormat& format, const TPackOptions& packing, TWorkFolder& folder);
  ~TSegmentWriter();
  TSegmentWriter(const TSegmentWriter&) = delete;
  TSegmentWriter& operator=(const TSegmentWriter&) = delete;

  // Cursor records precede the frame data, so they must all come before the first frame.
  // Returns the cursor's index for the cursor track.
  int32_t AddCursor(const TCursorRecord& cursor);
  int32_t AddCursorRecord(const std::vector<uint8_t>& rawRecord);

  // The next frame: its XOR runs against the previous frame (the first against black).
  void AddFrame(const TPixels& pixels);
  // A frame record written as given (counted as a frame; the encoder's picture stays).
  void AddFrameRecord(const std::vector<uint8_t>& rawRecord);

  // One entry per clock tick: one per frame, three per frame with ThreeTicksPerFrame.
  void AddTrackEntry(const film::TTrackEntry& entry);
  void SetThirdBlock(std::vector<uint8_t> bytes);
  // MP3 bytes; the flags then say sound kind 1.
  void SetSound(std::vector<uint8_t> mp3);

  // Changes the header as it will be written, after the real values are filled in.
  // The pieces stay where they are: payload right after the header, sound after it.
  void OverrideHeader(std::function<void(film::TSegmentHeader&)> edit);

  // Packs the payload. Called by the film writer when needed; nothing may be added afterwards.
  void Finish();
  bool Finished() const { return !FPacker; }

  int32_t FrameCount() const { return FFrameCount; }
  // After Finish: the header as written, the packed payload and the sound.
  const film::TSegmentHeader& Header() const;
  const std::string& PayloadFile() const { return FPayload.Path(); }
  int64_t PayloadSize() const { return FPayloadSize; }
  const std::vector<uint8_t>& Sound() const { return FSound; }

 private:
  void Payload(const uint8_t* bytes, size_t count);
  void CheckOpen(const char* what) const;

  TSegmentFormat FFormat;
  uint32_t FCompression;
  std::unique_ptr<TPayloadPacker> FPacker;  // none once finished
  std::unique_ptr<TFrameEncoder> FEncoder;  // made at the first pixel frame
  std::vector<uint8_t> FRecord;             // the frame record being written, reused
  int32_t FCursorCount = 0;
  int32_t FFrameCount = 0;
  int64_t FFrameDataSize = 0;
  std::vector<uint8_t> FTrack;
  std::vector<uint8_t> FThirdBlock;
  std::vector<uint8_t> FSound;
  std::function<void(film::TSegmentHeader&)> FHeaderEdit;
  film::TSegmentHeader FHeader;
  TTempFile FPayload;
  int64_t FPayloadSize = 0;
};

}  // namespace filmwriter
