// Start-up and shutdown of the player: its window, its private temporary folder,
// its resources, and the ways it can be closed.
#include <gtest/gtest.h>

#include <algorithm>

#include "resources/resource.h"
#include "tests/e2e/Harness.h"

namespace {

bool HasLine(const std::vector<std::string>& lines, const std::string& text) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return WithoutStamp(l) == text; });
}

TEST(Startup, MainWindowAppearsAtTopLeftWith600x400AndTheClassOfTheProgram) {
  TestDir temp;
  PlayerProcess player(temp);
  HWND w = player.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(WindowText(w), "vaRorivi v2.2 - [vaRorivi.exe]");
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, 600);
  EXPECT_EQ(r.bottom - r.top, 400);
  EXPECT_EQ(GetClassLongA(w, GCL_STYLE), 0x000Bu);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(w, GWL_STYLE)) & ~WS_VISIBLE, 0x06CF0000u);
  EXPECT_TRUE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
  EXPECT_TRUE(player.WaitForLog("event 0 0"));
  EXPECT_TRUE(DirExists(temp / "zeP_0000"));
  PostMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0);
}

TEST(Startup, OverlappingRunsUseTheNextFreeFolderAndBothRemoveTheirs) {
  TestDir temp;
  PlayerProcess first(temp);
  HWND w1 = first.WaitForMainWindow();
  ASSERT_NE(w1, nullptr);
  PlayerProcess second(temp);
  HWND w2 = second.WaitForMainWindow();
  ASSERT_NE(w2, nullptr);
  EXPECT_EQ(ListDir(temp.Path(), "zeP_*"), (std::vector<std::string>{"zeP_0000", "zeP_0001"}));
  PostMessageA(w2, WM_CLOSE, 0, 0);
  EXPECT_EQ(second.WaitForExit(), 0);
  EXPECT_EQ(ListDir(temp.Path(), "zeP_*"), (std::vector<std::string>{"zeP_0000"}));
  PostMessageA(w1, WM_CLOSE, 0, 0);
  EXPECT_EQ(first.WaitForExit(), 0);
  EXPECT_TRUE(ListDir(temp.Path(), "zeP_*").empty());
}

TEST(Startup, FolderLeftByACrashedRunIsSkippedNotReused) {
  TestDir temp;
  ASSERT_TRUE(CreateDirectoryA((temp / "zeP_0000").c_str(), nullptr));
  PlayerProcess player(temp);
  HWND w = player.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(DirExists(temp / "zeP_0001"));
  PostMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0);
  EXPECT_EQ(ListDir(temp.Path(), "zeP_*"), (std::vector<std::string>{"zeP_0000"}));
}

TEST(Shutdown, EveryWayOfClosingEndsCleanly) {
  struct Way {
    const char* name;
    void (*close)(HWND);
  } ways[] = {
      {"Alt+F4", [](HWND w) {
         SetForegroundWindow(w);
         PressKeys({VK_MENU, VK_F4});
       }},
      {"WM_CLOSE", [](HWND w) { PostMessageA(w, WM_CLOSE, 0, 0); }},
      {"File/Exit (100)", [](HWND w) { PostMessageA(w, WM_COMMAND, CMD_EXIT, 0); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    TestDir temp;
    PlayerProcess player(temp);
    HWND w = player.WaitForMainWindow();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(player.WaitForLog("event 0 0"));
    way.close(w);
    EXPECT_EQ(player.WaitForExit(), 0);
    EXPECT_TRUE(ListDir(temp.Path(), "zeP_*").empty());
    const auto lines = player.LogLines();
    EXPECT_TRUE(HasLine(lines, "event 6 0"));
    EXPECT_FALSE(HasLine(lines, "box Error|Error in WndProc"));
  }
}

// The menu bar and accelerator resources, read from the program file itself.
struct Resources : ::testing::Test {
  HMODULE module = nullptr;
  void SetUp() override {
    module = LoadLibraryExA(PlayerPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
  }
  void TearDown() override { FreeLibrary(module); }
};

TEST_F(Resources, MenuBarItemsIdsAndShortcutLabels) {
  HMENU bar = LoadMenuA(module, "ZEAPP");
  ASSERT_NE(bar, nullptr);
  struct Item {
    int submenu, position;
    UINT id;  // 0: separator
    const char* text;
  } items[] = {
      {0, 0, CMD_LOAD, "Load...\bCtrl+O"}, {0, 1, CMD_PROPERTIES, "Properties...\bF8"}, {0, 2, 0, ""},
      {0, 3, CMD_EXIT, "Exit\bAlt+F4"},    {1, 0, CMD_PLAY, "Play\bF9"},                {1, 1, CMD_PAUSE, "Pause\bF10"},
      {1, 2, CMD_STOP, "Stop\bF11"},       {1, 3, 0, ""},                               {1, 4, CMD_SEGMENTS, "Segments\bF6"},
      {1, 5, CMD_PREV, "Previous segment\bF4"}, {1, 6, CMD_NEXT, "Next segment\bF5"},
      {2, 0, CMD_SHOWPANEL, "Show control panel\bF7"}, {2, 1, CMD_FULLSCREEN, "Full screen\bAlt+Enter"},
      {3, 0, CMD_CONTEXTHELP, "Context Help\bF1"}, {3, 1, 0, ""}, {3, 2, CMD_ABOUT, "About..."},
  };
  const char* titles[] = {"File", "Actions", "View", "Help"};
  ASSERT_EQ(GetMenuItemCount(bar), 4);
  for (int i = 0; i < 4; ++i) {
    char text[64] = {};
    GetMenuStringA(bar, i, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, titles[i]);
  }
  const int counts[] = {4, 7, 2, 3};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, i)), counts[i]);
  for (const Item& it : items) {
    HMENU sub = GetSubMenu(bar, it.submenu);
    char text[64] = {};
    GetMenuStringA(sub, it.position, text, sizeof text, MF_BYPOSITION);
    SCOPED_TRACE(text);
    EXPECT_EQ(GetMenuItemID(sub, it.position), it.id == 0 ? 0u : it.id);
    EXPECT_STREQ(text, it.text);
  }
  DestroyMenu(bar);
}

TEST_F(Resources, ProgramIcon) {
  EXPECT_NE(LoadImageA(module, "PMAINICON", IMAGE_ICON, 32, 32, 0), nullptr);
}

TEST_F(Resources, AcceleratorTable) {
  HACCEL table = LoadAcceleratorsA(module, "MENUP");
  ASSERT_NE(table, nullptr);
  ACCEL got[32];
  const int n = CopyAcceleratorTableA(table, got, 32);
  const ACCEL expected[] = {
      {FVIRTKEY | FCONTROL, 'O', CMD_LOAD}, {FVIRTKEY, VK_F8, CMD_PROPERTIES}, {FVIRTKEY, VK_F9, CMD_PLAY},
      {FVIRTKEY, VK_F10, CMD_PAUSE},        {FVIRTKEY, VK_F11, CMD_STOP},      {FVIRTKEY, VK_F6, CMD_SEGMENTS},
      {FVIRTKEY, VK_F7, CMD_SHOWPANEL},     {FVIRTKEY | FALT, VK_RETURN, CMD_FULLSCREEN},
      {FVIRTKEY, VK_F1, CMD_CONTEXTHELP},   {FVIRTKEY, VK_F4, CMD_PREV},       {FVIRTKEY, VK_F5, CMD_NEXT},
  };
  ASSERT_EQ(n, static_cast<int>(sizeof expected / sizeof expected[0]));
  for (int i = 0; i < n; ++i) {
    EXPECT_EQ(got[i].fVirt & ~0x80, expected[i].fVirt) << i;  // 0x80 marks the table's last entry
    EXPECT_EQ(got[i].key, expected[i].key) << i;
    EXPECT_EQ(got[i].cmd, expected[i].cmd) << i;
  }
  DestroyAcceleratorTable(table);
}

}  // namespace
