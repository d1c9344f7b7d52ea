// The About box's drawing objects and its link class, in this process: the box
// is made from the same template, without a modal loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "controls/UzePAbout.h"

namespace {

HWND MakeOwner() {
  return CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

LOGFONTA FontOf(HFONT font) {
  LOGFONTA lf = {};
  GetObjectA(font, sizeof lf, &lf);
  return lf;
}

TEST(AboutBox, DrawingObjectsLiveWhileOpenAndGoOnEveryWayOfClosing) {
  struct Way {
    const char* name;
    std::function<void(HWND box, HWND owner)> close;
  } ways[] = {
      {"Close button or Enter (1)", [](HWND box, HWND) {
         SendMessageA(box, WM_COMMAND, IDOK, 0);
         DestroyWindow(box);
       }},
      {"Esc or the caption's close box (2)", [](HWND box, HWND) {
         SendMessageA(box, WM_COMMAND, IDCANCEL, 0);
         DestroyWindow(box);
       }},
      // The film's end under close-on-finish destroys the main window while the box is open.
      {"owner destroyed", [](HWND, HWND owner) { DestroyWindow(owner); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    HWND owner = MakeOwner();
    ASSERT_NE(owner, nullptr);
    HWND box = CreateDialogParamA(GetModuleHandleA(nullptr), "ABOUTBOX", owner, AboutDialogProc, 0);
    ASSERT_NE(box, nullptr);
    const TAboutObjects open = AboutObjects();
    EXPECT_EQ(GetObjectType(open.Brush), static_cast<DWORD>(OBJ_BRUSH));
    LOGBRUSH brush = {};
    GetObjectA(open.Brush, sizeof brush, &brush);
    EXPECT_EQ(brush.lbColor, 0xFFFFFFu);
    EXPECT_EQ(GetObjectType(open.Pen), static_cast<DWORD>(OBJ_PEN));
    LOGPEN pen = {};
    GetObjectA(open.Pen, sizeof pen, &pen);
    EXPECT_EQ(pen.lopnColor, 0x888080u);
    EXPECT_EQ(pen.lopnWidth.x, 1);
    struct {
      HFONT font;
      LONG height, weight;
      BYTE underline;
    } fonts[] = {{open.TitleFont, 32, 700, 0}, {open.TextFont, 14, 400, 0}, {open.LinkFont, 14, 400, 1}};
    for (const auto& f : fonts) {
      EXPECT_EQ(GetObjectType(f.font), static_cast<DWORD>(OBJ_FONT));
      const LOGFONTA lf = FontOf(f.font);
      EXPECT_EQ(lf.lfHeight, f.height);
      EXPECT_EQ(lf.lfWeight, f.weight);
      EXPECT_EQ(lf.lfUnderline, f.underline);
    }

    way.close(box, owner);
    EXPECT_FALSE(IsWindow(box));
    for (HGDIOBJ o : {static_cast<HGDIOBJ>(open.Brush), static_cast<HGDIOBJ>(open.Pen),
                      static_cast<HGDIOBJ>(open.TitleFont), static_cast<HGDIOBJ>(open.TextFont),
                      static_cast<HGDIOBJ>(open.LinkFont)})
      EXPECT_EQ(GetObjectType(o), 0u) << "not deleted";
    const TAboutObjects closed = AboutObjects();
    EXPECT_EQ(closed.Brush, nullptr);
    EXPECT_EQ(closed.Pen, nullptr);
    EXPECT_EQ(closed.TitleFont, nullptr);
    EXPECT_EQ(closed.TextFont, nullptr);
    EXPECT_EQ(closed.LinkFont, nullptr);
    if (IsWindow(owner)) DestroyWindow(owner);
  }
}

TEST(AboutBox, LinkShowsTheHandCursor) {
  HWND box = CreateDialogParamA(GetModuleHandleA(nullptr), "ABOUTBOX", nullptr, AboutDialogProc, 0);
  ASSERT_NE(box, nullptr);
  HWND link = FindWindowExA(box, nullptr, "Link", nullptr);
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(link, GCLP_HCURSOR)),
            LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));
  SendMessageA(box, WM_COMMAND, IDCANCEL, 0);
  DestroyWindow(box);
}

}  // namespace
