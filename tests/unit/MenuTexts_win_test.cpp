// Menu labels from a language table, on the program's own menu resource.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/MainForm.h"
#include "app/MenuTexts.h"
#include "shell/zePStrings.h"

namespace {

std::string Label(HMENU menu, int position) {
  char text[128] = {};
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

struct MenuTexts : ::testing::Test {
  void SetUp() override {
    Menus.Bar = LoadMenuA(GetModuleHandleA(nullptr), "ZEAPP");
    ASSERT_NE(Menus.Bar, nullptr);
    Menus.File = GetSubMenu(Menus.Bar, 0);
    Menus.Actions = GetSubMenu(Menus.Bar, 1);
    Menus.View = GetSubMenu(Menus.Bar, 2);
    Menus.Help = GetSubMenu(Menus.Bar, 3);
    Menus.Popup = CreatePopupMenu();
    for (int i = 0; i < 17; ++i) AppendMenuA(Menus.Popup, MF_STRING, 200 + i, "item");
    texts::AssignDefaultMenuTexts();
  }
  void TearDown() override {
    DestroyMenu(Menus.Bar);
    DestroyMenu(Menus.Popup);
    Menus = TMainMenus();
    LanguageTable.clear();
    texts::AssignDefaultMenuTexts();
  }
  void Table(const std::string& text) { LanguageTable.assign(text.begin(), text.end()); }
};

TEST_F(MenuTexts, TranslatedItemsGetTheirShortcutsAndMissingKeysKeepTheirLabels) {
  Table("File = Datei\r\nPlay=\r\nPause = Anhalten\r\nFullScreen=Vollbild\r\nContextHelp=Hilfe\r\nClose=Schliessen\r\n"
        "Load=Laden\r\nAbout=Info");
  ApplyMenuTexts();
  EXPECT_EQ(Label(Menus.Bar, 0), "Datei");
  EXPECT_EQ(Label(Menus.Bar, 1), "Actions");           // no key: unchanged
  EXPECT_EQ(Label(Menus.File, 0), "Laden\bCtrl + O");  // note the spaces of this suffix
  EXPECT_EQ(Label(Menus.Actions, 0), "Play\bF9");      // empty value: unchanged
  EXPECT_EQ(Label(Menus.Actions, 1), "Anhalten\bF10");
  EXPECT_EQ(Label(Menus.View, 1), "Vollbild\bAlt + Enter");
  EXPECT_EQ(Label(Menus.Help, 0), "Hilfe\bF1");
  EXPECT_EQ(Label(Menus.Help, 2), "Info");
  EXPECT_EQ(Label(Menus.Popup, 0), "Laden");
  EXPECT_EQ(Label(Menus.Popup, 2), "item");  // Play: unchanged
  EXPECT_EQ(Label(Menus.Popup, 13), "Hilfe");
  EXPECT_EQ(Label(Menus.Popup, 16), "Schliessen");
  // The strings themselves follow the table, empty where it has nothing.
  EXPECT_EQ(texts::Menu.Play, "");
  EXPECT_EQ(texts::Menu.Pause, "Anhalten");
  EXPECT_EQ(texts::Menu.Help, "");
}

TEST_F(MenuTexts, NoTableLeavesEverything) {
  ApplyMenuTexts();
  EXPECT_EQ(Label(Menus.Actions, 0), "Play\bF9");
  EXPECT_EQ(texts::Menu.Play, "Play");
}

}  // namespace
