// The film loader on films made by the film writer: what each segment record
// receives, which temporary files exist when, the warnings, and broken films.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/FilmLoader.h"
#include "app/Globals.h"
#include "app/TestLog.h"
#include "film/UzeCursor_new.h"
#include "foundation/SegmentList.h"
#include "shell/zePStrings.h"
#include "tests/films/TestFilms.h"
#include "tests/unit/WinTestFiles.h"

using namespace testfilms;

namespace {

std::vector<std::string> boxes;  // "caption|text" of every message box shown

int CaptureBox(const std::string& text, const std::string& caption, UINT) {
  boxes.push_back(caption + "|" + text);
  return IDOK;
}

std::string Film(const std::string& name) { return WinPath(TEST_FILMS_DIR "/" + name); }

std::vector<uint8_t> ReadAll(const std::string& path) {
  TzeFileStream in(path, OpenReadDenyWrite);
  std::vector<uint8_t> bytes(static_cast<size_t>(in.GetSize()));
  in.ReadBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  return bytes;
}

std::vector<std::string> Matching(const std::vector<std::string>& names, const std::string& ending) {
  std::vector<std::string> found;
  for (const auto& n : names)
    if (n.size() >= ending.size() && n.compare(n.size() - ending.size(), ending.size(), ending) == 0) found.push_back(n);
  return found;
}

// A run's TempFolder and SegmentList, as the main window sets them up.
struct Loader : ::testing::Test {
  TempTree temp;
  void SetUp() override {
    texts::AssignDefaultTexts();
    TempFolder = temp.Path();
    SegmentList = new TSegmentList;
    boxes.clear();
    SetMessageBoxHandler(CaptureBox);
  }
  void TearDown() override {
    delete SegmentList;
    SegmentList = nullptr;
    EXPECT_TRUE(TreeBelow(temp.Path()).empty()) << "left in the temporary folder";
    SetMessageBoxHandler(nullptr);
  }
  bool LoadZef(const std::string& name) {
    TzeFileStream stream(Film(name), OpenReadExclusive);
    return LoadFilm(stream);
  }
  TSegmentInfo& Segment(int32_t i) {
    TSegmentInfo* s = SegmentList->Item(i);
    if (!s) throw std::runtime_error("no segment " + std::to_string(i));
    return *s;
  }
};

void ExpectTwoSegmentFilm(TSegmentList& list, const std::string& tempFolder) {
  ASSERT_EQ(list.Count(), 2);
  const TSegmentInfo& a = *list.Item(0);
  EXPECT_EQ(a.Width, kFirstWidth);
  EXPECT_EQ(a.Height, kFirstHeight);
  EXPECT_EQ(a.BitsPerPixel, 32);
  EXPECT_EQ(a.FrameRate, 2);
  EXPECT_EQ(a.FrameCount, kFirstFrames);
  EXPECT_EQ(a.Flags & 1u, 1u);
  EXPECT_EQ(a.Title, kFirstTitle);
  EXPECT_EQ(a.Cursors->Count(), kCursorCount);
  EXPECT_NE(a.Cursors->Item(0)->ColorBitmap, nullptr);  // colour arrow
  EXPECT_NE(a.Cursors->Item(1)->IconHandle, nullptr);   // monochrome hand
  EXPECT_EQ(a.Cursors->Item(1)->ColorBitmap, nullptr);
  EXPECT_EQ(a.Cursors->Item(2)->IconHandle, nullptr);  // hidden
  EXPECT_EQ(a.CursorTrack->GetSize(), kFirstFrames * 3 * 6);
  EXPECT_EQ(a.ThirdBlock->GetSize(), 0);
  EXPECT_TRUE(a.SoundFileName.empty());
  // The frame data: records whose lengths add up to the file, one per frame.
  TzeStream& frames = *a.FrameData;
  int32_t records = 0;
  for (int32_t at = 0; at < frames.GetSize(); ++records) {
    frames.SetPosition(at);
    int32_t length = 0;
    frames.ReadBuffer(&length, 4);
    ASSERT_GE(length, 8);
    at += length;
  }
  EXPECT_EQ(records, kFirstFrames);

  const TSegmentInfo& b = *list.Item(1);
  EXPECT_EQ(b.Width, kSecondWidth);
  EXPECT_EQ(b.BitsPerPixel, 24);
  EXPECT_EQ(b.FrameRate, 30);  // 29.97 rounded
  EXPECT_EQ(b.Flags & 1u, 0u);
  EXPECT_EQ(b.Title, kSecondTitle);
  EXPECT_EQ(b.CursorTrack->GetSize(), kSecondFrames * 6);
  ASSERT_EQ(b.ThirdBlock->GetSize(), static_cast<int32_t>(std::string(kThirdBlock).size()));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.ThirdBlock->Memory()), b.ThirdBlock->GetSize()), kThirdBlock);
  ASSERT_FALSE(b.SoundFileName.empty());
  EXPECT_EQ(ReadAll(b.SoundFileName), ReadAll(WinPath(std::string(VARORIVI_CORPUS_DIR) + "/mp3/silence-22khz-mono-1s.mp3")));
  EXPECT_EQ(b.SoundWriter, nullptr);
  // Only the frame data and the sound stay in the folder.
  const auto names = TreeBelow(tempFolder);
  EXPECT_EQ(Matching(names, ".~zeflm").size(), 2u);
  EXPECT_EQ(Matching(names, ".mp3").size(), 1u);
  EXPECT_EQ(names.size(), 3u);
}

TEST_F(Loader, TwoSegmentFilmPackedEitherWay) {
  for (const char* name : {"two-lzma.zef", "two-cab.zef"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(LoadZef(name));
    ExpectTwoSegmentFilm(*SegmentList, temp.Path());
    EXPECT_TRUE(boxes.empty());
    SegmentList->Clear();
    EXPECT_TRUE(TreeBelow(temp.Path()).empty());
  }
}

TEST_F(Loader, ASecondLoadAfterClearUsesNewNames) {
  ASSERT_TRUE(LoadZef("two-lzma.zef"));
  const std::string first = Segment(0).FrameFileName;
  SegmentList->Clear();
  ASSERT_TRUE(LoadZef("two-lzma.zef"));
  EXPECT_NE(Segment(0).FrameFileName, first);
  EXPECT_EQ(SegmentList->Count(), 2);
}

TEST_F(Loader, CabinetWithSeveralFilesReadsTheLastAndLeavesNothing) {
  ASSERT_TRUE(LoadZef("cab-several.zef"));
  ASSERT_EQ(SegmentList->Count(), 1);
  EXPECT_EQ(Segment(0).Title, kFirstTitle);
  EXPECT_EQ(TreeBelow(temp.Path()).size(), 1u);  // the frame data alone
}

TEST_F(Loader, NewerVersionsAndOtherKindsAreSkippedWithOneWarning) {
  struct Case {
    const char* film;
    int32_t segments;
    const char* warning;
  } cases[] = {
      {"versions.zef", 2, "Warning|Segment 2 need vaRorivi of other version to play\r"},
      {"kinds.zef", 1, "Warning|Segment 2 need vaRorivi of other version to play\r"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.film);
    boxes.clear();
    EXPECT_TRUE(LoadZef(c.film));
    EXPECT_EQ(SegmentList->Count(), c.segments);
    EXPECT_EQ(boxes, std::vector<std::string>{c.warning});
    SegmentList->Clear();
  }
}

TEST_F(Loader, FrameRatesRoundHalvesToEven) {
  ASSERT_TRUE(LoadZef("rates.zef"));
  ASSERT_EQ(SegmentList->Count(), 4);
  const int expected[] = {2, 4, 30, 0};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Segment(i).FrameRate, expected[i]) << i;
}

TEST_F(Loader, OnlyMp3SoundWithBytesGetsASoundFile) {
  ASSERT_TRUE(LoadZef("sounds.zef"));
  ASSERT_EQ(SegmentList->Count(), 3);
  EXPECT_FALSE(Segment(0).SoundFileName.empty());
  EXPECT_TRUE(Segment(1).SoundFileName.empty());  // MP3, size 0
  EXPECT_TRUE(Segment(2).SoundFileName.empty());  // bytes, but not MP3
  EXPECT_EQ(Matching(TreeBelow(temp.Path()), ".mp3").size(), 1u);
}

TEST_F(Loader, UnknownPackingLeavesTheRecordWithoutData) {
  ASSERT_TRUE(LoadZef("stored.zef"));
  ASSERT_EQ(SegmentList->Count(), 1);
  EXPECT_EQ(Segment(0).Width, 16);
  EXPECT_TRUE(Segment(0).Title.empty());
  EXPECT_EQ(Segment(0).Cursors->Count(), 0);
  EXPECT_EQ(Segment(0).FrameData->GetSize(), 0);
}

TEST_F(Loader, DamagedSegmentsAreSkippedAndNamed) {
  ASSERT_TRUE(LoadZef("damaged.zef"));
  ASSERT_EQ(SegmentList->Count(), 1);  // only the fifth entry is whole
  EXPECT_EQ(Segment(0).Title, "Small");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "Warning|Segment 1 is damaged\rSegment 2 is damaged\rSegment 3 is damaged\r"
                      "Segment 4 is damaged\rSegment 6 is damaged\r");
}

TEST_F(Loader, LongTitleIsCutAndABadCursorRecordIsRefused) {
  ASSERT_TRUE(LoadZef("odd-records.zef"));
  ASSERT_EQ(SegmentList->Count(), 1);
  EXPECT_EQ(Segment(0).Title, std::string(255, 'x'));
  ASSERT_EQ(Segment(0).Cursors->Count(), 2);  // the refused one keeps its place
  EXPECT_EQ(Segment(0).Cursors->Item(0)->IconHandle, nullptr);
  EXPECT_EQ(Segment(0).Cursors->Item(0)->ColorInfo.Size, 0);
  EXPECT_EQ(Segment(0).FrameCount, 2);
  EXPECT_GT(Segment(0).FrameData->GetSize(), 0);  // the blocks after it were found
}

TEST_F(Loader, FilmAndLanguageTableFromATail) {
  TzeFileStream player(Film("appended.bin"), OpenReadDenyWrite);
  EXPECT_TRUE(LoadFilmAtEnd(player));
  EXPECT_EQ(SegmentList->Count(), 1);
  ReadLanguageTableOf(player);
  EXPECT_EQ(std::string(LanguageTable.begin(), LanguageTable.end()), kLanguageText);
  LanguageTable.clear();
}

TEST_F(Loader, FilesWithoutAConsistentTailCarryNoFilm) {
  const auto good = ReadAll(Film("appended.bin"));
  auto withTail = [&](int32_t n, int32_t l, uint8_t filler = 0) {
    std::vector<uint8_t> bytes(good.begin(), good.begin() + kFakePlayerSize);
    if (filler) std::fill(bytes.begin(), bytes.end(), filler);
    bytes.resize(bytes.size() + 8, 0);
    memcpy(&bytes[bytes.size() - 8], &l, 4);
    memcpy(&bytes[bytes.size() - 4], &n, 4);
    return bytes;
  };
  struct Case {
    const char* comment;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"N = 0", withTail(0, 0)},
      {"N beyond the file", withTail(5000, 0)},
      {"N negative", withTail(-3, 0)},
      {"L beyond the file", withTail(100, 5000)},
      {"shorter than a tail", {1, 2, 3}},
      // A program's last bytes may pass for a tail by chance; no directory, no film.
      {"consistent tail leading to no directory", withTail(100, 0, 0x11)},
  };
  for (const Case& c : cases) {
    const std::string path = temp / "tail.bin";
    {
      TzeFileStream out(path, OpenCreate);
      out.Write(c.bytes.data(), static_cast<int32_t>(c.bytes.size()));
    }
    {
      TzeFileStream in(path, OpenReadDenyWrite);
      EXPECT_FALSE(LoadFilmAtEnd(in)) << c.comment;
      EXPECT_FALSE(LoadStartFilm(in, true)) << c.comment;  // nor is it a film file
      ReadLanguageTableOf(in);
      EXPECT_TRUE(LanguageTable.empty()) << c.comment;
    }
    DeleteFileA(path.c_str());
  }
  EXPECT_EQ(SegmentList->Count(), 0);
  EXPECT_TRUE(boxes.empty());
}

// Every cut and every flipped byte of a good film: no crash, no file left.
TEST_F(Loader, TruncatedAndCorruptedFilmsLoadSafely) {
  for (const char* name : {"two-lzma.zef", "two-cab.zef"}) {
    const auto good = ReadAll(Film(name));
    std::vector<std::vector<uint8_t>> variants;
    for (size_t cut = 0; cut < good.size(); cut += 997) variants.emplace_back(good.begin(), good.begin() + cut);
    for (size_t at = 0; at < good.size(); at += good.size() / 53 + 1) {
      auto flipped = good;
      flipped[at] ^= 0x5A;
      variants.push_back(flipped);
    }
    for (size_t i = 0; i < variants.size(); ++i) {
      SCOPED_TRACE(std::string(name) + " variant " + std::to_string(i));
      const std::string path = temp / "broken.zef";
      {
        TzeFileStream out(path, OpenCreate);
        out.Write(variants[i].data(), static_cast<int32_t>(variants[i].size()));
      }
      boxes.clear();
      {
        TzeFileStream in(path, OpenReadExclusive);
        try {
          LoadFilm(in);
        } catch (const Exception&) {
          // A block that cannot be read in full is reported by the caller's guard.
        }
      }
      EXPECT_LE(boxes.size(), 1u);
      DeleteFileA(path.c_str());
      SegmentList->Clear();
      ASSERT_TRUE(TreeBelow(temp.Path()).empty());
    }
  }
}

}  // namespace
