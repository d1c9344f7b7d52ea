// Playing self-playing copies of the player: segments in turn, pause and resume
// with the exact picture on screen, segment commands, the popup menu, a film
// without segments, and a film whose records need both blocks and a refill.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "engine/FrameDecoder.h"
#include "resources/resource.h"
#include "tests/e2e/Harness.h"
#include "tests/films/TestFilms.h"

using namespace testfilms;

namespace {

struct FrameLine {
  int segment, index, tick;
};

std::vector<FrameLine> Frames(const std::vector<std::string>& lines) {
  std::vector<FrameLine> frames;
  for (const auto& l : lines) {
    FrameLine f;
    if (sscanf(WithoutStamp(l).c_str(), "frame %d %d %d", &f.segment, &f.index, &f.tick) == 3) frames.push_back(f);
  }
  return frames;
}

std::vector<std::string> Starting(const std::vector<std::string>& lines, const std::string& prefix) {
  std::vector<std::string> found;
  for (const auto& l : lines) {
    const std::string s = WithoutStamp(l);
    if (s.compare(0, prefix.size(), prefix) == 0) found.push_back(s);
  }
  return found;
}

bool WaitForFrame(const PlayerProcess& p, int segment, int index, DWORD timeoutMs = 20000) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    for (const auto& f : Frames(p.LogLines()))
      if (f.segment == segment && f.index >= index) return true;
    Sleep(20);
  }
  return false;
}

void Close(PlayerProcess& p, HWND w) {
  PostMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(p.WaitForExit(), 0);
}

TEST(Playback, PlaysEverySegmentInTurnAndStopsOnTheFirst) {
  TestDir temp;
  PlayerProcess player(temp, "", TestPlayer("play.exe"));
  HWND w = player.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(player.WaitForLog("event 3 0"));
  const auto lines = player.LogLines();
  EXPECT_EQ(Starting(lines, "event"),
            (std::vector<std::string>{"event 4 0", "event 0 0", "event 4 1", "event 3 0"}));
  // Every frame once and in order; three ticks per frame in the second segment.
  std::vector<std::string> expected, got;
  for (int i = 0; i < kPlayFrames0; ++i) expected.push_back("0 " + std::to_string(i) + " " + std::to_string(i));
  for (int i = 0; i < kPlayFrames1; ++i) expected.push_back("1 " + std::to_string(i) + " " + std::to_string(3 * i));
  for (const auto& f : Frames(lines))
    got.push_back(std::to_string(f.segment) + " " + std::to_string(f.index) + " " + std::to_string(f.tick));
  EXPECT_EQ(got, expected);
  // Stopped: the Stop items are checked and the film's commands stay available.
  EXPECT_EQ(Starting(lines, "menu").back(), "menu File=ge-e Actions=eeE-eee View=Ee Popup=g-eeE-eee-Ee-ee-e");
  Close(player, w);
  EXPECT_TRUE(ListDir(temp.Path(), "zeP_*").empty());
}

TEST(Playback, PauseShowsTheLoggedFrameWithTheCursorAndPlayResumes) {
  TestDir temp;
  PlayerProcess player(temp, "", TestPlayer("long.exe"));
  HWND w = player.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(WaitForFrame(player, 0, 5));
  Press(w, {VK_F10});
  ASSERT_TRUE(player.WaitForLog("event 2 0"));
  Sleep(300);  // the last tick and the repaint are over
  const FrameLine shown = Frames(player.LogLines()).back();
  // The pattern of that frame with the white arrow drawn at that tick's track
  // position (one tick per frame: the frame's own entry).
  const int tx = TrackX(shown.index, 0), ty = TrackY(shown.index);
  const auto screen = ScreenPicture(w, kLongWidth, kLongHeight);
  int wrong = 0, firstX = -1, firstY = -1;
  for (int y = 0; y < kLongHeight; ++y)
    for (int x = 0; x < kLongWidth; ++x) {
      const uint32_t expected = ArrowPixel(x - tx, y - ty) ? 0xFFFFFF : PatternPixel(x, y, shown.index);
      if (screen[y * kLongWidth + x] != expected && wrong++ == 0) firstX = x, firstY = y;
    }
  EXPECT_EQ(wrong, 0) << "frame " << shown.index << ", first difference at " << firstX << "," << firstY;

  Press(w, {VK_F9});
  ASSERT_TRUE(player.WaitForLog("event 1 0"));
  EXPECT_TRUE(WaitForFrame(player, 0, shown.index + 2));
  // Alt+F4 while playing: a clean end.
  Press(w, {VK_MENU, VK_F4});
  EXPECT_EQ(player.WaitForExit(), 0);
  EXPECT_TRUE(ListDir(temp.Path(), "zeP_*").empty());
}

TEST(Playback, NextAndPreviousSegmentKeys) {
  TestDir temp;
  PlayerProcess player(temp, "", TestPlayer("play.exe"));
  HWND w = player.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(WaitForFrame(player, 0, 2));
  Press(w, {VK_F5});
  ASSERT_TRUE(player.WaitForLog("event 4 1"));
  ASSERT_TRUE(WaitForFrame(player, 1, 1));
  Press(w, {VK_F4});
  std::vector<std::string> events;
  for (DWORD start = GetTickCount(); events.size() < 3 && GetTickCount() - start < 20000; Sleep(20))
    events = Starting(player.LogLines(), "event 4");
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events[1], "event 4 1");
  EXPECT_EQ(events[2], "event 4 0");
  Close(player, w);
}

TEST(Playback, PopupMenuStopStopsPlayback) {
  TestDir temp;
  PlayerProcess player(temp, "", TestPlayer("long.exe"));
  HWND w = player.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(WaitForFrame(player, 0, 1));
  SetForegroundWindow(w);
  POINT p = {300, 250};
  ClientToScreen(w, &p);
  SetCursorPos(p.x, p.y);
  INPUT click[2] = {};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  SendInput(2, click, sizeof(INPUT));
  Sleep(500);
  // From the bottom: Close, About, Help, Full screen, Show control panel, Next,
  // Previous, Segments, Stop.
  for (int i = 0; i < 9; ++i) PressKeys({VK_UP});
  PressKeys({VK_RETURN});
  EXPECT_TRUE(player.WaitForLog("event 3 0"));
  Close(player, w);
}

TEST(Playback, AFilmWithoutSegmentsGraysTheFilmCommands) {
  TestDir temp;
  PlayerProcess player(temp, "", TestPlayer("nofilm-segments.exe"));
  HWND w = player.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(player.WaitForLog("event 0 0"));
  // Load stays gray: a film was found, though it holds no segment.
  EXPECT_EQ(Starting(player.LogLines(), "menu").back(),
            "menu File=gg-e Actions=ggG-egg View=Ee Popup=g-ggG-egg-Ee-ee-e");
  Close(player, w);
}

TEST(Playback, EveryPictureOfAFilmThatNeedsBothBlocksAndARefill) {
  TestDir temp;
  PlayerProcess player(temp, "", TestPlayer("big.exe"), {{"VARORIVI_TESTLOG_PICTURES", "1"}});
  HWND w = player.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(player.WaitForLog("event 3 0", 60000));
  std::vector<std::string> expected;
  std::vector<uint32_t> picture(kBigWidth * kBigHeight);
  for (int f = 0; f < kBigFrames; ++f) {
    for (int y = 0; y < kBigHeight; ++y)
      for (int x = 0; x < kBigWidth; ++x) picture[y * kBigWidth + x] = PatternPixel(x, y, f);
    char line[64];
    snprintf(line, sizeof line, "picture 0 %d %08x", f, engine::PictureHash(picture.data(), picture.size()));
    expected.push_back(line);
  }
  EXPECT_EQ(Starting(player.LogLines(), "picture"), expected);
  Close(player, w);
}

}  // namespace

namespace {

TEST(Playback, FaultySegmentsEndAndTheNextOnePlays) {
  struct Case {
    const char* film;
    const char* box;   // the one message box, or none
    int framesShown;   // of the faulty first segment
  } cases[] = {
      {"short.exe", nullptr, kFaultFrames},                                      // ends when the records do
      {"broken.exe", "Error|DoBlockEmpty: Size = 0", kFaultFrames},              // plays the good records
      {"huge.exe", "Error|Picture too large to play (1700 x 2000 pixels)", 0},  // refused at its start
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.film);
    TestDir temp;
    PlayerProcess player(temp, "", TestPlayer(c.film));
    if (c.box) {
      EXPECT_EQ(AnswerBox(player), c.box);
    }
    HWND w = player.WaitForMainWindow();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(player.WaitForLog("event 3 0"));
    const auto frames = Frames(player.LogLines());
    const auto first = std::count_if(frames.begin(), frames.end(), [](const FrameLine& f) { return f.segment == 0; });
    const auto second = std::count_if(frames.begin(), frames.end(), [](const FrameLine& f) { return f.segment == 1; });
    EXPECT_EQ(first, c.framesShown);
    EXPECT_EQ(second, kFaultFrames);
    EXPECT_EQ(Starting(player.LogLines(), "box").size(), c.box ? 1u : 0u);
    Close(player, w);
  }
}

}  // namespace
