// The command line: window placement, the start segment, closing at the end,
// wrong numbers, a film file named on it, and a start file that cannot be opened.
#include <gtest/gtest.h>

#include "tests/e2e/Harness.h"

namespace {

TEST(CommandLine, SizeAndPositionWordsPlaceTheWindow) {
  TestDir temp;
  PlayerProcess player(temp, "-SIZE 800 600 -POS R B", TestPlayer("long.exe"));
  HWND w = player.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 224);
  EXPECT_EQ(r.top, 168);
  EXPECT_EQ(r.right - r.left, 800);
  EXPECT_EQ(r.bottom - r.top, 600);
  PostMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0);
}

TEST(CommandLine, StartSegmentAndCloseOnFinish) {
  TestDir temp;
  PlayerProcess player(temp, "/segm 2 /closeonfinish", TestPlayer("play.exe"));
  // The second segment first; after it the program ends by itself.
  EXPECT_EQ(player.WaitForExit(30000), 0);
  std::vector<std::string> events;
  for (const auto& l : player.LogLines())
    if (WithoutStamp(l).compare(0, 5, "event") == 0) events.push_back(WithoutStamp(l));
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), "event 4 1");
  EXPECT_EQ(events.back(), "event 6 0");
  EXPECT_TRUE(ListDir(temp.Path(), "zeP_*").empty());
}

TEST(CommandLine, AWrongNumberIsReported) {
  TestDir temp;
  PlayerProcess player(temp, "/segm x", TestPlayer("long.exe"));
  EXPECT_EQ(AnswerBox(player), "Error|Wrong command line");
  HWND w = player.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(player.WaitForLog("event 4 0"));  // the parse stopped; the defaults play
  PostMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0);
}

TEST(CommandLine, AFilmFileIsLoadedFromItsFirstByteAndPlays) {
  TestDir temp;
  PlayerProcess player(temp, WinPath(std::string(TEST_FILMS_DIR) + "/two-lzma.zef"));
  HWND w = player.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(player.WaitForLog("event 4 1"));
  PostMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0);
  EXPECT_TRUE(ListDir(temp.Path(), "zeP_*").empty());
}

TEST(CommandLine, AStartFileThatCannotBeOpenedLeavesTheWindowWithNothingToPlay) {
  TestDir temp;
  PlayerProcess player(temp, "Z:\\No\\Such\\Film.zef");
  EXPECT_EQ(AnswerBox(player), "Error|Cannot open file z:\\no\\such\\film.zef");  // the parser lower-cases
  HWND w = player.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  Press(w, {VK_F9});
  Sleep(300);
  for (const auto& l : player.LogLines()) EXPECT_EQ(WithoutStamp(l).find("event 4"), std::string::npos);
  PostMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0);
}

}  // namespace
