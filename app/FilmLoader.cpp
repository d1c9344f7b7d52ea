#include "app/FilmLoader.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "app/Globals.h"
#include "app/TestLog.h"
#include "engine/Transport.h"
#include "film/FilmFormat.h"
#include "film/LzmaDecoder.h"
#include "film/CabPaths.h"
#include "film/UzeCursor_new.h"
#include "film/zeCab.h"
#include "foundation/Bytes.h"
#include "foundation/SegmentList.h"
#include "shell/Format.h"
#include "shell/zePStrings.h"

using namespace film;

namespace {

// The name a cabinet listed last; the file extracted under it is the payload.
std::string ExtractedName;

void RecordExtractedName(TzeCabReader&, const std::string& name, int32_t, uint16_t, uint16_t, uint16_t, uint16_t,
                         bool&) {
  ExtractedName = name;
}

// Deletes a temporary file at the end of the scope, also when an error passes.
struct TempFile {
  std::string name;
  ~TempFile() {
    if (!name.empty()) DeleteFileA(name.c_str());
  }
};

void RemoveFolderTree(const std::string& folder) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolderTree(path + "\\");
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(folder.c_str());
}

// A folder of its own for one cabinet's files, removed with them at the end of
// the scope: a cabinet may hold several files, and its names must not meet the
// run's other temporary files.
struct ExtractFolder {
  std::string path = MakeTempName("~cab", TempFolder, "zeS_") + "\\";
  ExtractFolder() { CreateDirectoryA(path.c_str(), nullptr); }
  ~ExtractFolder() { RemoveFolderTree(path); }
};

bool ReadI32(TzeStream& stream, int32_t& value) {
  uint8_t b[4];
  if (stream.Read(b, 4) != 4) return false;
  value = GetI32(b);
  return true;
}

// N and L from the stream's last bytes; false when they do not describe a
// tail that lies inside the stream (such a tail counts as none).
bool ReadTail(TzeStream& stream, TTail& tail) {
  const int64_t size = stream.GetSize();
  int32_t filmSize = 0, languageSize = 0;
  if (size < 2 * kTailFieldSize) return false;
  stream.SetPosition(static_cast<int32_t>(FilmSizePosition(size)));
  if (!ReadI32(stream, filmSize) || filmSize < 0 || filmSize > size - 8) return false;
  stream.SetPosition(static_cast<int32_t>(LanguageSizePosition(size, filmSize)));
  return ReadI32(stream, languageSize) && DecodeTail(size, filmSize, languageSize, tail);
}

bool InFilm(int64_t start, int64_t size, int64_t filmStart, int64_t filmEnd) {
  return size >= 0 && start >= filmStart && start <= filmEnd && size <= filmEnd - start;
}

enum class TDistribution { Done, Damaged };

// Reads the unpacked payload into the record: title, cursor records, then the
// frame data, cursor track and third block, each checked against what is there.
TDistribution Distribute(const TSegmentHeader& header, TSegmentInfo& record, const std::string& unpacked) {
  TzeFileStream in(unpacked, OpenReadExclusive);
  const int64_t size = in.GetSize();
  int32_t titleLength = 0;
  if (!ReadI32(in, titleLength) || titleLength < 0 || titleLength > size - kTitleLengthSize)
    return TDistribution::Damaged;
  // The title field holds a short string of at most 255 characters; a longer
  // title is cut there and the rest of it skipped.
  uint8_t title[kTitleFieldSize] = {};
  const int32_t titleRead = std::min(titleLength, kTitleFieldSize);
  in.ReadBuffer(title, titleRead);
  const int32_t titleChars = titleRead > 0 ? std::min<int32_t>(title[0], titleRead - 1) : 0;
  record.Title.assign(reinterpret_cast<const char*>(title) + 1, static_cast<size_t>(titleChars));
  in.SetPosition(kTitleLengthSize + titleLength);

  const int64_t minimalRecord = kHotSpotSize + 2 * kImageInfoSize;
  if (header.CursorCount < 0 || header.CursorCount > (size - in.GetPosition()) / minimalRecord)
    return TDistribution::Damaged;
  for (int32_t i = 0; i < header.CursorCount; ++i) {
    auto cursor = std::make_unique<TzeCursor>();
    if (cursor->LoadFromHandle(static_cast<HANDLE>(in.Handle()), size - in.GetPosition()) == TCursorRead::Damaged)
      return TDistribution::Damaged;
    record.Cursors->Add(std::move(cursor));  // a refused image still takes its place in the list
  }

  const int64_t left = size - in.GetPosition();
  if (header.FrameDataSize < 0 || header.CursorTrackSize < 0 || header.ThirdBlockSize < 0 ||
      static_cast<int64_t>(header.FrameDataSize) + header.CursorTrackSize + header.ThirdBlockSize > left)
    return TDistribution::Damaged;
  if (header.FrameDataSize > 0) record.FrameData->CopyFrom(in, header.FrameDataSize);
  if (header.CursorTrackSize > 0) record.CursorTrack->CopyFrom(in, header.CursorTrackSize);
  if (header.ThirdBlockSize > 0) record.ThirdBlock->CopyFrom(in, header.ThirdBlockSize);
  return TDistribution::Done;
}

struct TLoad {
  TzeStream& stream;
  int64_t filmStart, filmEnd;
  std::string warning;

  void Damaged(int32_t entryNumber) { warning += Format(texts::SegmentDamagedFormat, {entryNumber}); }

  void LoadEntry(int32_t entryNumber, const TDirEntry& entry);
  void LoadSegment(int32_t entryNumber, int64_t headerStart, const TSegmentHeader& header);
};

void TLoad::LoadEntry(int32_t entryNumber, const TDirEntry& entry) {
  if (entry.Kind != kEntrySegment) return;
  const int64_t headerStart = filmStart + entry.Offset;
  uint8_t bytes[kSegmentHeaderSize];
  if (!InFilm(headerStart, kSegmentHeaderSize, filmStart, filmEnd)) return Damaged(entryNumber);
  stream.SetPosition(static_cast<int32_t>(headerStart));
  if (stream.Read(bytes, kSegmentHeaderSize) != kSegmentHeaderSize) return Damaged(entryNumber);
  const TSegmentHeader header = DecodeSegmentHeader(bytes);
  if (header.Version > kNewestReadableVersion) {
    warning += Format(texts::InvalidVersionFormat, {entryNumber});
    return;
  }
  const bool payloadFits = InFilm(headerStart + header.PayloadOffset, header.PayloadSize, filmStart, filmEnd);
  const bool soundUsed = header.SoundSize > 0 && SoundKindOf(header.Flags) == skMp3;
  const bool soundFits = !soundUsed || InFilm(headerStart + header.SoundOffset, header.SoundSize, filmStart, filmEnd);
  if (!payloadFits || !soundFits) return Damaged(entryNumber);
  LoadSegment(entryNumber, headerStart, header);
}

void TLoad::LoadSegment(int32_t entryNumber, int64_t headerStart, const TSegmentHeader& header) {
  TSegmentInfo& record = *SegmentList->Add(TempFolder);
  const int32_t index = SegmentList->Count() - 1;
  record.Width = header.Width;
  record.Height = header.Height;
  record.BitsPerPixel = header.BitsPerPixel;
  record.Flags = header.Flags;
  record.FrameCount = header.FrameCount;
  record.FrameRate = RoundFrameRate(header.FrameRate);

  TempFile payload{MakeTempName("cab", TempFolder, "zeS_")};
  {
    TzeFileStream out(payload.name, OpenCreate);
    if (header.PayloadSize > 0) {
      stream.SetPosition(static_cast<int32_t>(headerStart + header.PayloadOffset));
      out.CopyFrom(stream, header.PayloadSize);
    }
  }

  std::unique_ptr<ExtractFolder> cabinetFiles;
  TempFile unpacked;
  switch (CompressionOf(header.Flags)) {
    case cmCabinet: {
      cabinetFiles = std::make_unique<ExtractFolder>();
      TzeCabReader reader;
      reader.ListFiles(payload.name, RecordExtractedName);
      reader.ExtractFiles(payload.name, cabinetFiles->path, 0);
      // A stored name that leads out of the folder was not extracted, and must not
      // be read or deleted where it points either.
      if (IsSafeCabEntryName(ExtractedName)) unpacked.name = cabinetFiles->path + ExtractedName;
      break;
    }
    case cmLzma:
      unpacked.name = DecodeLzmaPayload(payload.name);
      break;
    default:
      break;  // an unknown packing: the segment gets no data
  }
  DeleteFileA(payload.name.c_str());
  payload.name.clear();

  if (!unpacked.name.empty() && FileExists(unpacked.name) &&
      Distribute(header, record, unpacked.name) == TDistribution::Damaged) {
    SegmentList->Delete(index);
    return Damaged(entryNumber);
  }

  if (header.SoundSize > 0 && SoundKindOf(header.Flags) == skMp3) {
    stream.SetPosition(static_cast<int32_t>(headerStart + header.SoundOffset));
    record.SoundFileName = MakeTempName("mp3", TempFolder, "zeS_");
    record.SoundWriter = new TzeFileStream(record.SoundFileName, OpenCreate);
    record.SoundWriter->CopyFrom(stream, header.SoundSize);
    delete record.SoundWriter;
    record.SoundWriter = nullptr;
  }
}

}  // namespace

std::string DecodeLzmaPayload(const std::string& input) {
  const std::string output = MakeTempName("~7z", TempFolder, "zeS_");
  std::unique_ptr<TzeFileStream> out;
  try {
    out = std::make_unique<TzeFileStream>(output, OpenCreate);
  } catch (const Exception&) {
    ShowMessageBox(MainWindow, texts::CannotCreateTempFile, texts::Error, MB_ICONERROR);
    return std::string();
  }
  TzeFileStream in(input, OpenReadExclusive);
  const bool decoded = DecodeLzmaStream(in, *out) == TLzmaResult::Ok;
  out.reset();
  if (decoded) return output;
  DeleteFileA(output.c_str());  // a partial output would pass for data
  return std::string();
}

void ReadLanguageTableOf(TzeStream& stream) {
  LanguageTable.clear();
  TTail tail;
  if (!ReadTail(stream, tail) || tail.LanguageSize == 0) return;
  LanguageTable.resize(static_cast<size_t>(tail.LanguageSize));
  stream.SetPosition(static_cast<int32_t>(tail.LanguageStart));
  if (stream.Read(LanguageTable.data(), tail.LanguageSize) != tail.LanguageSize) LanguageTable.clear();
}

void ReadLanguageTable() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  try {
    TzeFileStream self(path, OpenReadDenyWrite);
    ReadLanguageTableOf(self);
  } catch (const Exception&) {
    LanguageTable.clear();  // an executable that cannot be read carries no table
  }
}

namespace {

// A directory that fits the film and whose first segment lies behind it: the
// last bytes of a file may look like a tail by chance, a directory hardly.
bool LooksLikeDirectory(TzeStream& stream, int64_t start, int64_t end) {
  stream.SetPosition(static_cast<int32_t>(start));
  int32_t count = 0;
  uint8_t entry[kDirEntrySize];
  if (!ReadI32(stream, count) || count <= 0 || count > (end - start - kDirCountSize) / kDirEntrySize) return false;
  if (stream.Read(entry, kDirEntrySize) != kDirEntrySize) return false;
  const TDirEntry first = DecodeDirEntry(entry);
  if (first.Kind != kEntrySegment) return true;  // other kinds are skipped anyway
  return first.Offset >= kDirCountSize + static_cast<int64_t>(count) * kDirEntrySize && first.Offset < end - start;
}

}  // namespace

bool LoadStartFilm(TzeStream& stream, bool namedOnCommandLine) {
  if (LoadFilmAtEnd(stream)) return true;
  // A film file carries no tail: it starts at its first byte.
  if (!namedOnCommandLine || !LooksLikeDirectory(stream, 0, stream.GetSize())) return false;
  stream.SetPosition(0);
  return LoadFilm(stream);
}

bool LoadFilmAtEnd(TzeStream& stream) {
  // The last bytes of a file without a tail (a program's symbol table, a film
  // file's data) may pass for one by chance; a tail counts only when it leads to
  // a film directory.
  TTail tail;
  if (!ReadTail(stream, tail) || tail.FilmSize == 0) return false;
  const int64_t filmEnd = tail.FilmStart + tail.FilmSize;
  if (!LooksLikeDirectory(stream, tail.FilmStart, filmEnd)) return false;
  stream.SetPosition(static_cast<int32_t>(tail.FilmStart));
  return LoadFilm(stream, filmEnd);
}

bool LoadFilm(TzeStream& stream, int64_t filmEnd) {
  const int64_t filmStart = stream.GetPosition();
  if (filmEnd < 0) filmEnd = stream.GetSize();
  int32_t count = 0;
  if (!ReadI32(stream, count) || count <= 0) return false;

  // A directory longer than the film is cut where the film ends.
  const int64_t room = std::max<int64_t>(0, (filmEnd - filmStart - kDirCountSize) / kDirEntrySize);
  const int32_t listed = static_cast<int32_t>(std::min<int64_t>(count, room));
  std::vector<uint8_t> directory(static_cast<size_t>(listed) * kDirEntrySize);
  const int32_t got = stream.Read(directory.data(), static_cast<int32_t>(directory.size()));
  const int32_t readable = std::max(got, 0) / kDirEntrySize;

  TLoad load{stream, filmStart, filmEnd, std::string()};
  for (int32_t k = 1; k <= readable; ++k)
    load.LoadEntry(k, DecodeDirEntry(directory.data() + static_cast<size_t>(k - 1) * kDirEntrySize));
  if (readable < count) load.Damaged(readable + 1);

  SetCurrentSegment(0);
  if (!load.warning.empty()) ShowMessageBox(MainWindow, load.warning, texts::Warning, MB_ICONWARNING);
  return true;
}
