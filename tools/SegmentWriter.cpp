#include "tools/SegmentWriter.h"

#include <climits>
#include <filesystem>

#include "foundation/Bytes.h"
#include "foundation/Exception.h"

namespace filmwriter {

namespace {
int32_t CheckedSize(int64_t size, const char* what) {
  if (size < 0 || size > INT32_MAX) throw Exception(std::string(what) + " too large for the segment header");
  return static_cast<int32_t>(size);
}
}  // namespace

TSegmentWriter::TSegmentWriter(const TSegmentFormat& format, const TPackOptions& packing, TWorkFolder& folder)
    : FFormat(format), FCompression(CompressionValueOf(packing)) {
  std::vector<uint8_t> title;
  if (format.RawTitleField) {
    title = *format.RawTitleField;
  } else {
    if (format.Title.size() > static_cast<size_t>(film::kTitleMaxChars))
      throw Exception("Title longer than 255 characters");
    title.push_back(static_cast<uint8_t>(format.Title.size()));
    title.insert(title.end(), format.Title.begin(), format.Title.end());
  }
  FPacker = MakePayloadPacker(packing, folder);
  uint8_t length[film::kTitleLengthSize];
  PutI32(length, CheckedSize(static_cast<int64_t>(title.size()), "Title"));
  Payload(length, sizeof length);
  Payload(title.data(), title.size());
}

TSegmentWriter::~TSegmentWriter() = default;

void TSegmentWriter::CheckOpen(const char* what) const {
  if (!FPacker) throw Exception(std::string(what) + " after the segment was finished");
}

void TSegmentWriter::Payload(const uint8_t* bytes, size_t count) {
  if (count > 0) FPacker->Write(bytes, count);
}

int32_t TSegmentWriter::AddCursor(const TCursorRecord& cursor) { return AddCursorRecord(EncodeCursorRecord(cursor)); }

int32_t TSegmentWriter::AddCursorRecord(const std::vector<uint8_t>& rawRecord) {
  CheckOpen("Cursor added");
  if (FFrameCount > 0) throw Exception("Cursor records must come before the first frame");
  Payload(rawRecord.data(), rawRecord.size());
  return FCursorCount++;
}

void TSegmentWriter::AddFrame(const TPixels& pixels) {
  CheckOpen("Frame added");
  if (!FEncoder) FEncoder = std::make_unique<TFrameEncoder>(FFormat.Width, FFormat.Height);
  FEncoder->Encode(pixels, FRecord);
  AddFrameRecord(FRecord);
}

void TSegmentWriter::AddFrameRecord(const std::vector<uint8_t>& rawRecord) {
  CheckOpen("Frame added");
  Payload(rawRecord.data(), rawRecord.size());
  FFrameDataSize += static_cast<int64_t>(rawRecord.size());
  ++FFrameCount;
}

void TSegmentWriter::AddTrackEntry(const film::TTrackEntry& entry) {
  CheckOpen("Track entry added");
  const size_t at = FTrack.size();
  FTrack.resize(at + film::kTrackEntrySize);
  film::EncodeTrackEntry(entry, FTrack.data() + at);
}

void TSegmentWriter::SetThirdBlock(std::vector<uint8_t> bytes) {
  CheckOpen("Third block set");
  FThirdBlock = std::move(bytes);
}

void TSegmentWriter::SetSound(std::vector<uint8_t> mp3) {
  CheckOpen("Sound set");
  FSound = std::move(mp3);
}

void TSegmentWriter::OverrideHeader(std::function<void(film::TSegmentHeader&)> edit) {
  CheckOpen("Header override set");
  FHeaderEdit = std::move(edit);
}

void TSegmentWriter::Finish() {
  if (!FPacker) return;
  Payload(FTrack.data(), FTrack.size());
  Payload(FThirdBlock.data(), FThirdBlock.size());
  FPayload = FPacker->Finish();
  FPacker.reset();
  FEncoder.reset();  // the previous picture is the largest thing a segment holds
  FRecord = {};

  film::TSegmentHeader h;
  h.Version = 1;
  h.Width = FFormat.Width;
  h.Height = FFormat.Height;
  h.BitsPerPixel = FFormat.BitsPerPixel;
  h.FrameRate = FFormat.FrameRate;
  h.Flags = film::MakeFlags(FCompression, FSound.empty() ? film::skWav : film::skMp3, FFormat.ThreeTicksPerFrame);
  h.FrameCount = FFrameCount;
  h.CursorCount = FCursorCount;
  h.CursorTrackSize = CheckedSize(static_cast<int64_t>(FTrack.size()), "Cursor track");
  h.ThirdBlockSize = CheckedSize(static_cast<int64_t>(FThirdBlock.size()), "Third block");
  h.FrameDataSize = CheckedSize(FFrameDataSize, "Frame data");
  FPayloadSize = static_cast<int64_t>(std::filesystem::file_size(FPayload.Path()));
  h.PayloadSize = CheckedSize(FPayloadSize, "Payload");
  // The recorder's layout: payload right after the header, sound right after the payload.
  h.PayloadOffset = film::kSegmentHeaderSize;
  h.SoundSize = CheckedSize(static_cast<int64_t>(FSound.size()), "Sound");
  h.SoundOffset = CheckedSize(static_cast<int64_t>(film::kSegmentHeaderSize) + h.PayloadSize, "Segment");
  FTrack = {};
  FThirdBlock = {};
  if (FHeaderEdit) FHeaderEdit(h);
  FHeader = h;
}

const film::TSegmentHeader& TSegmentWriter::Header() const {
  if (FPacker) throw Exception("Segment header asked for before the segment was finished");
  return FHeader;
}

}  // namespace filmwriter
