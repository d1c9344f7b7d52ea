// The About box: its template, its hand-drawn contents and children, the ways
// of closing it, opening it again, and the player ending while it is open.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>

#include "resources/resource.h"
#include "tests/e2e/Harness.h"

namespace {

const char kCaption[] = "About vaRorivi";

HWND WaitForAbout(const PlayerProcess& player, DWORD timeoutMs = 10000) {
  return WaitForDialog(player, timeoutMs, kCaption);
}

bool WaitUntilGone(HWND w, DWORD timeoutMs = 10000) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20))
    if (!IsWindow(w)) return true;
  return false;
}

struct Child {
  HWND hwnd;
  std::string cls, text;
  int id;
  DWORD style;
  RECT rect;  // in the box's client coordinates
};

std::vector<Child> Children(HWND box) {
  std::vector<Child> children;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char cls[64] = {};
    GetClassNameA(c, cls, sizeof cls);
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
    children.push_back({c, cls, WindowText(c), GetDlgCtrlID(c), static_cast<DWORD>(GetWindowLongA(c, GWL_STYLE)), r});
  }
  return children;
}

const Child* Find(const std::vector<Child>& children, const std::string& cls) {
  for (const Child& c : children)
    if (lstrcmpiA(c.cls.c_str(), cls.c_str()) == 0) return &c;  // class names ignore case
  return nullptr;
}

// Pixels of a colour in a part of the picture, with the extent they cover.
struct Found {
  int count = 0, top = INT_MAX, right = -1, bottom = -1;
};

Found Look(const std::vector<uint32_t>& picture, int width, const RECT& area, bool (*match)(uint32_t)) {
  Found f;
  const int height = static_cast<int>(picture.size()) / width;
  for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, height); ++y)
    for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, width); ++x)
      if (match(picture[y * width + x])) {
        ++f.count;
        f.top = std::min(f.top, y);
        f.right = std::max(f.right, x);
        f.bottom = std::max(f.bottom, y);
      }
  return f;
}

bool Black(uint32_t p) { return p == 0x000000; }
bool Grey(uint32_t p) { return p == 0xA0A0A0; }
bool Blue(uint32_t p) { return p == 0x0000FF; }
bool Dark(uint32_t p) { return (p & 0xFF) < 0x60 && ((p >> 8) & 0xFF) < 0x60 && (p >> 16) < 0x60; }
bool NotWhite(uint32_t p) { return p != 0xFFFFFF; }

// Everything an open box must show, measured against its client size W x H.
void CheckBox(HWND box) {
  EXPECT_EQ(WindowText(box), kCaption);
  const DWORD style = static_cast<DWORD>(GetWindowLongA(box, GWL_STYLE));
  EXPECT_EQ(style & 0x02C800C0u, 0x02C800C0u);
  RECT client;
  GetClientRect(box, &client);
  const LONG W = client.right, H = client.bottom;
  ASSERT_GT(W, 100);
  ASSERT_GT(H, 50);

  const auto children = Children(box);
  ASSERT_EQ(children.size(), 2u);
  const Child* close = Find(children, "BUTTON");
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->text, "Close");
  EXPECT_EQ(close->id, 1);
  EXPECT_EQ(close->style, 0x50008000u);
  EXPECT_EQ(close->rect.left, W * 3 / 4 - 8);
  EXPECT_EQ(close->rect.top, H * 13 / 16);
  EXPECT_EQ(close->rect.right - close->rect.left, W / 4);
  EXPECT_EQ(close->rect.bottom - close->rect.top, H / 7);
  const Child* link = Find(children, "Link");
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->text, "");
  EXPECT_EQ(link->id, 0);
  EXPECT_EQ(link->style, 0x50000000u);
  EXPECT_EQ(link->rect.left, W / 4);
  EXPECT_EQ(link->rect.top, H * 5 / 8);
  EXPECT_EQ(link->rect.right - link->rect.left, W * 3 / 4);
  EXPECT_EQ(link->rect.bottom - link->rect.top, 16);

  // The box paints itself shortly after it shows: wait for the link's text.
  const RECT linkArea = {W / 4, H * 5 / 8, W, H * 5 / 8 + 16};
  std::vector<uint32_t> picture;
  for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(50)) {
    picture = ScreenPicture(box, W, H);
    if (Look(picture, W, linkArea, Blue).count > 0) break;
  }
  EXPECT_GT(Look(picture, W, linkArea, Blue).count, 20) << "the underlined host name in blue";
  // White where nothing is drawn, not the dialog's own colour.
  EXPECT_EQ(picture[2 * W + 2], 0xFFFFFFu);
  EXPECT_EQ(picture[(H * 7 / 8) * W + W / 2], 0xFFFFFFu);
  // The separator, from W/32 up to W - W/32.
  const LONG y = H * 49 / 64;
  EXPECT_EQ(picture[y * W + W / 32], 0x808088u);
  EXPECT_EQ(picture[y * W + W / 2], 0x808088u);
  EXPECT_EQ(picture[y * W + W - W / 32 - 1], 0x808088u);
  EXPECT_EQ(picture[y * W + W - W / 32], 0xFFFFFFu);
  EXPECT_EQ(picture[(y - 1) * W + W / 2], 0xFFFFFFu);
  // The icon at (W/32, H/24).
  EXPECT_GT(Look(picture, W, {W / 32, H / 24, W / 32 + 32, H / 24 + 32}, NotWhite).count, 100);
  // The title in black over its grey shadow, which reaches 2 pixels further right
  // and starts 2 lower: the edges of the final stem and of the tops are sharp.
  // (Above the version text, which begins at H * 9 / 40.)
  const RECT titleArea = {W / 4, H / 24, W, H * 9 / 40};
  const Found black = Look(picture, W, titleArea, Black), grey = Look(picture, W, titleArea, Grey);
  EXPECT_GT(black.count, 100);
  EXPECT_GT(grey.count, 30);
  EXPECT_EQ(grey.right - black.right, 2);
  EXPECT_EQ(grey.top - black.top, 2);
  // The version and the two-line notice.
  EXPECT_GT(Look(picture, W, {W * 5 / 8, H * 9 / 40, W, H * 3 / 8}, Dark).count, 20);
  const Found notice = Look(picture, W, {W / 4, H * 3 / 8, W * 3 / 4, H * 5 / 8}, Dark);
  EXPECT_GT(notice.count, 40);
  EXPECT_GT(notice.bottom, H * 3 / 8 + 14) << "two lines";
}

TEST(AboutBox, OpensAgainAfterEveryWayOfClosingAndReleasesTheOwner) {
  TestDir temp;
  PlayerProcess player(temp);
  HWND w = player.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(player.WaitForLog("event 0 0"));
  struct Way {
    const char* name;
    std::function<void(HWND)> close;
  } ways[] = {
      // The first opening registers the "Link" class; every later one finds it registered.
      {"Esc", [](HWND box) {
         SetForegroundWindow(box);
         PressKeys({VK_ESCAPE});
       }},
      {"Enter", [](HWND box) {
         SetForegroundWindow(box);
         PressKeys({VK_RETURN});
       }},
      {"caption's close box", [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"Close button", [](HWND box) { PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    PostMessageA(w, WM_COMMAND, CMD_ABOUT, 0);
    HWND box = WaitForAbout(player);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(GetWindow(box, GW_OWNER), w);
    EXPECT_FALSE(IsWindowEnabled(w)) << "modal";
    CheckBox(box);
    way.close(box);
    EXPECT_TRUE(WaitUntilGone(box));
    EXPECT_TRUE(IsWindowEnabled(w));
  }
  PostMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0);
  for (const auto& line : player.LogLines()) EXPECT_NE(WithoutStamp(line).compare(0, 4, "box "), 0) << line;
}

// The main window can go while the box is open (close-on-finish at the film's
// end destroys it): the box goes with it without a Close command, and the
// player still ends cleanly.
TEST(AboutBox, MainWindowDestroyedWhileTheBoxIsOpenEndsThePlayer) {
  TestDir temp;
  PlayerProcess player(temp);
  HWND w = player.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(player.WaitForLog("event 0 0"));
  PostMessageA(w, WM_COMMAND, CMD_ABOUT, 0);
  HWND box = WaitForAbout(player);
  ASSERT_NE(box, nullptr);
  PostMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0);
  bool destroyed = false;
  for (const auto& line : player.LogLines()) {
    const std::string s = WithoutStamp(line);
    EXPECT_NE(s.compare(0, 4, "box "), 0) << s;
    destroyed = destroyed || s == "event 6 0";
  }
  EXPECT_TRUE(destroyed);
}

// The template: only the frame, 200 x 100 dialog units at 100, 25.
TEST(AboutBox, DialogTemplate) {
  HMODULE module = LoadLibraryExA(PlayerPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  HRSRC found = FindResourceA(module, "ABOUTBOX", MAKEINTRESOURCEA(5));  // RT_DIALOG
  ASSERT_NE(found, nullptr);
  const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
  const DWORD size = SizeofResource(module, found);
  ASSERT_GE(size, 18u);
  auto word = [&](size_t at) { return static_cast<WORD>(bytes[at] | bytes[at + 1] << 8); };
  auto dword = [&](size_t at) { return static_cast<DWORD>(word(at) | word(at + 2) << 16); };
  EXPECT_EQ(dword(0), 0x02C800C0u);  // style
  EXPECT_EQ(dword(4), 0u);           // extended style
  EXPECT_EQ(word(8), 0);             // controls
  EXPECT_EQ(word(10), 100);
  EXPECT_EQ(word(12), 25);
  EXPECT_EQ(word(14), 200);
  EXPECT_EQ(word(16), 100);
  // Then: no menu, the default class, the caption, the font's size and face.
  size_t at = 18;
  auto text = [&]() {
    std::string s;
    while (at + 1 < size && word(at) != 0) {
      s += static_cast<char>(word(at));
      at += 2;
    }
    at += 2;
    return s;
  };
  EXPECT_EQ(word(at), 0);
  at += 2;
  EXPECT_EQ(word(at), 0);
  at += 2;
  EXPECT_EQ(text(), kCaption);
  EXPECT_EQ(word(at), 8);
  at += 2;
  EXPECT_EQ(text(), "MS Sans Serif");
  FreeLibrary(module);
}

}  // namespace
