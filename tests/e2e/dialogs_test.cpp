// The film dialogs and notices: properties (F8), the help notice (F1), and
// opening a film file through the open dialog (Ctrl+O) in a player without a film.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/Harness.h"
#include "tests/films/TestFilms.h"

namespace {

std::vector<std::string> Boxes(const PlayerProcess& player) {
  std::vector<std::string> boxes;
  for (const auto& l : player.LogLines()) {
    const std::string s = WithoutStamp(l);
    if (s.compare(0, 4, "box ") == 0) boxes.push_back(s.substr(4));
  }
  return boxes;
}

BOOL CALLBACK FindEdit(HWND w, LPARAM p) {
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (std::string(cls) != "Edit") return TRUE;
  *reinterpret_cast<HWND*>(p) = w;
  return FALSE;
}

TEST(Dialogs, PropertiesAndHelpNotice) {
  TestDir temp;
  PlayerProcess player(temp, "", TestPlayer("play.exe"));
  HWND w = player.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(player.WaitForLog("event 0 0"));
  Press(w, {VK_F8});
  HWND box = WaitForDialog(player);
  ASSERT_NE(box, nullptr);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  Sleep(300);
  Press(w, {VK_F1});
  box = WaitForDialog(player);
  ASSERT_NE(box, nullptr);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  Sleep(300);
  const auto boxes = Boxes(player);
  ASSERT_EQ(boxes.size(), 2u);
  // The first line is the program's own path; line breaks are lone carriage returns.
  const std::string program = TestPlayer("play.exe");
  EXPECT_EQ(boxes[0], "Film properties|" + program + "\\r\\rSegments count: 2\\r\\r"
                      "[161 x 97 x 24 bit / 10 fps  Sound:  - ]:  Pattern\\r"
                      "[200 x 120 x 32 bit / 8 fps  Sound:  - ]:  Pattern\\r");
  EXPECT_EQ(boxes[1], "Help|Documentation is available on author's web site\\rhttp://www.varorivi.example/");
  PostMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0);
}

TEST(Dialogs, OpeningAFilmFileLoadsItStoppedAndPlayPlaysIt) {
  TestDir temp;
  PlayerProcess player(temp);  // the plain player: no film of its own, so Load is offered
  HWND w = player.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(player.WaitForLog("event 0 0"));
  Press(w, {VK_CONTROL, 'O'});
  HWND dialog = WaitForDialog(player);
  ASSERT_NE(dialog, nullptr);
  const std::string film = WinPath(std::string(TEST_FILMS_DIR) + "/two-lzma.zef");
  HWND edit = nullptr;  // the file name field, inside its combo box
  EnumChildWindows(dialog, FindEdit, reinterpret_cast<LPARAM>(&edit));
  ASSERT_NE(edit, nullptr);
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(film.c_str()));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  for (DWORD start = GetTickCount(); WindowText(w) != "vaRorivi v2.2 - [" + film + "]" && GetTickCount() - start < 20000;)
    Sleep(20);
  EXPECT_EQ(WindowText(w), "vaRorivi v2.2 - [" + film + "]");
  // Loaded, not started: no segment start yet.
  Sleep(300);
  for (const auto& l : player.LogLines()) EXPECT_NE(WithoutStamp(l), "event 4 0");
  Press(w, {VK_F9});
  EXPECT_TRUE(player.WaitForLog("event 4 0"));
  EXPECT_TRUE(player.WaitForLog("event 1 0"));
  PostMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0);
  EXPECT_TRUE(ListDir(temp.Path(), "zeP_*").empty());
}

}  // namespace
