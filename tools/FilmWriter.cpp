#include "tools/FilmWriter.h"

#include <climits>
#include <filesystem>
#include <system_error>

#include "tools/FileIo.h"

namespace filmwriter {

TFilmWriter::TFilmWriter(const std::string& workParent) : FFolder(workParent) {}

TFilmWriter::~TFilmWriter() = default;

TSegmentWriter& TFilmWriter::AddSegment(const TSegmentFormat& format, const TPackOptions& packing) {
  if (!FSegments.empty()) FSegments.back()->Finish();
  FSegments.push_back(std::make_unique<TSegmentWriter>(format, packing, FFolder));
  FItems.push_back({FSegments.back().get(), {}});
  return *FSegments.back();
}

void TFilmWriter::AddRawEntry(const film::TDirEntry& entry) { FItems.push_back({nullptr, entry}); }

void TFilmWriter::OverrideDirectory(std::function<void(int32_t&, std::vector<film::TDirEntry>&)> edit) {
  FDirectoryEdit = std::move(edit);
}

int64_t TFilmWriter::WriteFilm(TzeStream& out) {
  for (auto& segment : FSegments) segment->Finish();

  // Segments lie back to back behind the directory, in directory order.
  std::vector<film::TDirEntry> entries;
  int64_t position = film::kDirCountSize + static_cast<int64_t>(film::kDirEntrySize) * FItems.size();
  for (const TItem& item : FItems) {
    if (!item.Segment) {
      entries.push_back(item.Raw);
      continue;
    }
    if (position > INT32_MAX) throw Exception("Film too large for 32-bit offsets");
    entries.push_back({static_cast<int32_t>(position), film::kEntrySegment});
    position += film::kSegmentHeaderSize + item.Segment->PayloadSize() + static_cast<int64_t>(item.Segment->Sound().size());
  }
  const int64_t filmSize = position;
  if (filmSize > INT32_MAX) throw Exception("Film too large for 32-bit offsets");

  int32_t count = static_cast<int32_t>(entries.size());
  if (FDirectoryEdit) {
    const size_t before = entries.size();
    FDirectoryEdit(count, entries);
    if (entries.size() != before) throw Exception("A directory override may not add or remove entries");
  }

  WriteI32(out, count);
  for (const film::TDirEntry& e : entries) {
    uint8_t bytes[film::kDirEntrySize];
    film::EncodeDirEntry(e, bytes);
    WriteAll(out, bytes, sizeof bytes);
  }
  for (const TItem& item : FItems) {
    if (!item.Segment) continue;
    uint8_t header[film::kSegmentHeaderSize];
    film::EncodeSegmentHeader(item.Segment->Header(), header);
    WriteAll(out, header, sizeof header);
    TzeFileStream payload(item.Segment->PayloadFile(), OpenReadDenyWrite);
    CopyBytes(out, payload, item.Segment->PayloadSize());
    WriteAll(out, item.Segment->Sound());
  }
  return filmSize;
}

void TFilmWriter::WriteZef(const std::string& path) {
  TzeFileStream out(path, OpenCreate);
  WriteFilm(out);
}

void TFilmWriter::WriteAppended(const std::string& playerPath, const std::vector<uint8_t>& languageText,
                                const std::string& outPath) {
  if (languageText.size() > static_cast<size_t>(INT32_MAX)) throw Exception("Language table too large");
  std::error_code ignored;
  if (std::filesystem::equivalent(playerPath, outPath, ignored))
    throw Exception("The copy must not overwrite the player itself: " + outPath);
  TzeFileStream player(playerPath, OpenReadDenyWrite);
  TzeFileStream out(outPath, OpenCreate);
  CopyBytes(out, player, player.GetSize());
  WriteAll(out, languageText);
  WriteI32(out, static_cast<int32_t>(languageText.size()));
  const int64_t filmSize = WriteFilm(out);
  WriteI32(out, static_cast<int32_t>(filmSize));
}

}  // namespace filmwriter
