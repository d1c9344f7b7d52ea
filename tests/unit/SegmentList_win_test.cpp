// The film in memory: segment records with their temporary files, the cursor
// images read from records, and the sound kinds of file names.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "film/UzeCursor_new.h"
#include "foundation/Bytes.h"
#include "foundation/SegmentList.h"

namespace {

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return names;
}

struct Folder : ::testing::Test {
  std::string path;
  void SetUp() override {
    path = MakeTempName("dir", "", "zeT_") + "\\";
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
  }
  void TearDown() override {
    for (const auto& f : FilesIn(path)) DeleteFileA((path + f).c_str());
    RemoveDirectoryA(path.c_str());
  }
};

using SegmentListTest = Folder;

TEST_F(SegmentListTest, RecordsOwnTheirFilesUntilCleared) {
  TSegmentList list;
  for (int i = 0; i < 17; ++i) list.Add(path);  // past the first 16 slots
  TSegmentInfo* first = list.Item(0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(list.Count(), 17);
  EXPECT_EQ(list.Item(-1), nullptr);
  EXPECT_EQ(list.Item(17), nullptr);
  EXPECT_EQ(list.Item(0), first);  // growing did not move the records
  ASSERT_NE(first->FrameData, nullptr);
  ASSERT_NE(first->CursorTrack, nullptr);
  ASSERT_NE(first->ThirdBlock, nullptr);
  ASSERT_NE(first->Cursors, nullptr);
  EXPECT_EQ(first->FrameFileName.substr(0, path.size() + 4), path + "zeS_");
  EXPECT_EQ(first->FrameFileName.size(), path.size() + 4 + 17 + 7);  // zeS_ + stamp + .~zeflm
  EXPECT_EQ(FilesIn(path).size(), 17u);

  // A sound file named by a record goes with it.
  TSegmentInfo* second = list.Item(1);
  second->SoundFileName = path + "sound.mp3";
  { TzeFileStream(second->SoundFileName, OpenCreate); }
  list.Delete(1);
  EXPECT_EQ(list.Count(), 16);
  EXPECT_EQ(FilesIn(path).size(), 16u);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(FilesIn(path).empty());
}

TEST(SoundKindOfFile, ByExtensionIgnoringCase) {
  struct Case {
    const char* name;
    uint32_t kind;
  } cases[] = {{"a.wav", 0x000}, {"a.MP3", 0x100}, {"C:\\x\\b.Mid", 0x200}, {"a.mpeg", 0x000},
               {"noext", 0x000}, {"", 0x000},      {"dir.mp3\\file", 0x000}};
  for (const Case& c : cases) EXPECT_EQ(SoundKindOfFile(c.name), c.kind) << c.name;
}

// --- cursor records ----------------------------------------------------------

std::vector<uint8_t> CursorRecord(int32_t hotX, int32_t hotY, film::TImageInfo mask, int32_t maskBytes,
                                  film::TImageInfo color, int32_t colorBytes, uint8_t fill = 0) {
  std::vector<uint8_t> r(8 + 13);
  PutI32(r.data(), hotX);
  PutI32(r.data() + 4, hotY);
  film::EncodeImageInfo(mask, r.data() + 8);
  r.insert(r.end(), static_cast<size_t>(maskBytes), fill);
  uint8_t info[13];
  film::EncodeImageInfo(color, info);
  r.insert(r.end(), info, info + 13);
  r.insert(r.end(), static_cast<size_t>(colorBytes), fill);
  return r;
}

std::vector<uint8_t> ColourArrow(int32_t hotX, int32_t hotY) {
  // Mask all zero (AND keeps nothing), colour all white: a white 32 x 32 square.
  auto r = CursorRecord(hotX, hotY, {128, 32, 32, 1}, 128, {4096, 32, 32, 32}, 4096);
  std::fill(r.end() - 4096, r.end(), 0xFF);
  return r;
}

struct CursorFile : Folder {
  std::string name;
  // Writes the records back to back followed by a marker, and opens them.
  std::unique_ptr<TzeFileStream> Write(const std::vector<std::vector<uint8_t>>& records) {
    name = path + "cursors.bin";
    {
      TzeFileStream out(name, OpenCreate);
      for (const auto& r : records) out.Write(r.data(), static_cast<int32_t>(r.size()));
      out.Write("END", 3);
    }
    return std::make_unique<TzeFileStream>(name, OpenReadExclusive);
  }
};

TEST_F(CursorFile, RecordsOfEveryKindAreReadBackToBack) {
  const std::vector<std::vector<uint8_t>> records = {
      ColourArrow(0, 0),                                                       // 4,258 bytes
      CursorRecord(5, 1, {256, 32, 64, 1}, 256, {0, 0, 0, 0}, 0, 0xF0),        // monochrome hand, 290
      ColourArrow(15, 16),                                                     // colour I-beam
      CursorRecord(0, 0, {0, 0, 0, 0}, 0, {0, 0, 0, 0}, 0),                    // hidden, 34
      CursorRecord(0, 0, {100, 32, 32, 1}, 100, {0, 0, 0, 0}, 0),              // mask size does not match
      CursorRecord(0, 0, {128, 32, 32, 1}, 128, {1024, 32, 32, 8}, 1024),      // 8 bits needs a colour table
  };
  EXPECT_EQ(records[0].size(), 4258u);
  EXPECT_EQ(records[1].size(), 290u);
  EXPECT_EQ(records[3].size(), 34u);
  auto file = Write(records);
  const int64_t size = file->GetSize();
  const film::TCursorRead expected[] = {film::TCursorRead::Ok, film::TCursorRead::Ok, film::TCursorRead::Ok,
                                        film::TCursorRead::Ok, film::TCursorRead::Refused,
                                        film::TCursorRead::Refused};
  std::vector<std::unique_ptr<TzeCursor>> cursors;
  for (const auto& e : expected) {
    cursors.push_back(std::make_unique<TzeCursor>());
    EXPECT_EQ(cursors.back()->LoadFromHandle(static_cast<HANDLE>(file->Handle()), size - file->GetPosition()), e);
  }
  char marker[3];
  file->ReadBuffer(marker, 3);  // the stream moved on with the handle, to just after the records
  EXPECT_EQ(std::string(marker, 3), "END");
  EXPECT_NE(cursors[0]->IconHandle, nullptr);
  EXPECT_NE(cursors[1]->IconHandle, nullptr);
  EXPECT_EQ(cursors[1]->ColorBitmap, nullptr);
  EXPECT_EQ(cursors[3]->IconHandle, nullptr);  // nothing to show
  EXPECT_EQ(cursors[4]->IconHandle, nullptr);  // refused: no image, but its hot spot is kept
  EXPECT_EQ(cursors[4]->MaskInfo.Size, 0);
}

TEST_F(CursorFile, ARecordRunningPastThePayloadIsDamage) {
  auto file = Write({ColourArrow(0, 0)});
  TzeCursor cursor;
  EXPECT_EQ(cursor.LoadFromHandle(static_cast<HANDLE>(file->Handle()), 4000), film::TCursorRead::Damaged);
  EXPECT_EQ(cursor.IconHandle, nullptr);
}

TEST_F(CursorFile, DrawPutsTheHotSpotAtThePoint) {
  auto file = Write({ColourArrow(15, 16)});
  TzeCursor cursor;
  ASSERT_EQ(cursor.LoadFromHandle(static_cast<HANDLE>(file->Handle()), file->GetSize()), film::TCursorRead::Ok);
  // A black 200 x 200 picture; the white cursor must cover exactly the 32 x 32
  // square from (85, 84).
  BITMAPINFOHEADER h = {sizeof h, 200, -200, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(dib, nullptr);
  std::fill(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + 200 * 200, 0u);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  cursor.Draw(dc, 100, 100);
  GdiFlush();
  const uint32_t* p = static_cast<uint32_t*>(bits);
  for (int y = 80; y < 120; ++y)
    for (int x = 80; x < 120; ++x) {
      const bool inside = x >= 85 && x < 117 && y >= 84 && y < 116;
      ASSERT_EQ(p[y * 200 + x] & 0xFFFFFF, inside ? 0xFFFFFFu : 0u) << x << "," << y;
    }
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(dib);
}

}  // namespace
