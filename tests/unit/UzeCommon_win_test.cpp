// The window utilities: sized rectangles, menu texts that are left alone, fonts.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/UzeCommon.h"

TEST(UzeCommon, MakeRectSized) {
  struct Case {
    LONG x, y, w, h, left, top, right, bottom;
  } cases[] = {
      {10, 20, 5, 3, 10, 20, 14, 22},
      {10, 20, -5, -3, 6, 18, 10, 20},
      {0, 0, 0, 0, 0, 0, -1, -1},
  };
  for (const Case& c : cases) {
    const RECT r = MakeRectSized(c.x, c.y, c.w, c.h);
    EXPECT_EQ(r.left, c.left);
    EXPECT_EQ(r.top, c.top);
    EXPECT_EQ(r.right, c.right);
    EXPECT_EQ(r.bottom, c.bottom);
  }
}

TEST(UzeCommon, SetMenuTextLeavesEmptyAndShortcutOnlyTextsAlone) {
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 1, "Before");
  auto label = [&] {
    char text[64] = {};
    GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    return std::string(text);
  };
  SetMenuText(menu, 0, "");
  EXPECT_EQ(label(), "Before");
  SetMenuText(menu, 0, "\bF9");
  EXPECT_EQ(label(), "Before");
  SetMenuText(menu, 0, "After\bF9");
  EXPECT_EQ(label(), "After\bF9");
  DestroyMenu(menu);
}

TEST(UzeCommon, CreateNamedFontSetsTheStyle) {
  HFONT font = CreateNamedFont("No Such Face At All", 18, 1 | 4);
  ASSERT_NE(font, nullptr);
  LOGFONTA lf = {};
  GetObjectA(font, sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, 18);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfUnderline, 1);
  EXPECT_EQ(lf.lfItalic, 0);
  EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
  DeleteObject(font);
}
