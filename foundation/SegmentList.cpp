#include "foundation/SegmentList.h"

#include <windows.h>

#include "film/UzeCursor_new.h"

TCursorList::TCursorList() = default;
TCursorList::~TCursorList() { Clear(); }

int32_t TCursorList::Add(std::unique_ptr<TzeCursor> cursor) {
  FItems.push_back(std::move(cursor));
  return Count() - 1;
}

TzeCursor* TCursorList::Item(int32_t index) const {
  return index >= 0 && index < Count() ? FItems[static_cast<size_t>(index)].get() : nullptr;
}

void TCursorList::Clear() { FItems.clear(); }

TSegmentInfo* TSegmentList::Add(const std::string& folder) {
  if (FItems.size() == FItems.capacity()) FItems.reserve(FItems.size() + kGrowth);
  auto record = std::make_unique<TSegmentInfo>();
  record->FrameFileName = MakeTempName("~zeflm", folder, "zeS_");
  record->FrameData = new TzeFileStream(record->FrameFileName, OpenCreate);
  record->CursorTrack = new TzeMemoryStream;
  record->Cursors = new TCursorList;
  record->ThirdBlock = new TzeMemoryStream;
  FItems.push_back(record.release());
  return FItems.back();
}

TSegmentInfo* TSegmentList::Item(int32_t index) const {
  return index >= 0 && index < Count() ? FItems[static_cast<size_t>(index)] : nullptr;
}

namespace {

void FreeRecord(TSegmentInfo* record) {
  delete record->FrameData;  // closes the file before it is deleted
  delete record->CursorTrack;
  delete record->Cursors;
  delete record->ThirdBlock;
  delete record->SoundWriter;
  if (FileExists(record->FrameFileName)) DeleteFileA(record->FrameFileName.c_str());
  if (!record->SoundFileName.empty() && FileExists(record->SoundFileName))
    DeleteFileA(record->SoundFileName.c_str());
  delete record;
}

}  // namespace

void TSegmentList::Delete(int32_t index) {
  if (index < 0 || index >= Count()) return;
  FreeRecord(FItems[static_cast<size_t>(index)]);
  FItems.erase(FItems.begin() + index);
}

void TSegmentList::Clear() {
  for (TSegmentInfo* record : FItems) FreeRecord(record);
  std::vector<TSegmentInfo*>().swap(FItems);
}

uint32_t SoundKindOfFile(const std::string& fileName) {
  const size_t dot = fileName.find_last_of(".\\/:");
  if (dot == std::string::npos || fileName[dot] != '.') return 0x000;
  std::string ext = fileName.substr(dot);
  CharLowerBuffA(&ext[0], static_cast<DWORD>(ext.size()));
  if (ext == ".mp3") return 0x100;
  if (ext == ".mid") return 0x200;
  return 0x000;  // ".wav" and everything else
}
