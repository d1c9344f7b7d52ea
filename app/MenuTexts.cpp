#include "app/MenuTexts.h"

#include "app/Globals.h"
#include "app/MainForm.h"
#include "app/UzeCommon.h"
#include "foundation/zeClasses.h"
#include "shell/zePStrings.h"

void ApplyMenuTexts() {
  if (LanguageTable.empty()) return;  // the menus keep the texts they were built with
  TzeStringList table;
  table.LoadFromBuffer(LanguageTable.data(), static_cast<int32_t>(LanguageTable.size()));
  texts::TMenuTexts& m = texts::Menu;
  texts::ReadMenuTexts(table, m);
  const std::string contextHelp = table.ValueOf("ContextHelp");
  const std::string close = table.ValueOf("Close");
  // A text the table lacks is empty: with its shortcut it starts with the byte
  // 0x08, and SetMenuText then leaves the item as it was.
  const struct {
    HMENU menu;
    UINT position;
    std::string text;
  } items[] = {
      {Menus.Bar, 0, m.File},
      {Menus.Bar, 1, m.Actions},
      {Menus.Bar, 2, m.View},
      {Menus.Bar, 3, m.Help},
      {Menus.File, 0, m.Load + "\bCtrl + O"},
      {Menus.File, 1, m.Properties + "\bF8"},
      {Menus.File, 3, m.Exit + "\bAlt+F4"},
      {Menus.Actions, 0, m.Play + "\bF9"},
      {Menus.Actions, 1, m.Pause + "\bF10"},
      {Menus.Actions, 2, m.Stop + "\bF11"},
      {Menus.Actions, 4, m.Segments + "\bF6"},
      {Menus.Actions, 5, m.Prev + "\bF4"},
      {Menus.Actions, 6, m.Next + "\bF5"},
      {Menus.View, 0, m.ShowPanel + "\bF7"},
      {Menus.View, 1, m.FullScreen + "\bAlt + Enter"},
      {Menus.Help, 0, contextHelp + "\bF1"},
      {Menus.Help, 2, m.About},
      {Menus.Popup, 0, m.Load},
      {Menus.Popup, 2, m.Play},
      {Menus.Popup, 3, m.Pause},
      {Menus.Popup, 4, m.Stop},
      {Menus.Popup, 6, m.Segments},
      {Menus.Popup, 7, m.Prev},
      {Menus.Popup, 8, m.Next},
      {Menus.Popup, 10, m.ShowPanel},
      {Menus.Popup, 11, m.FullScreen},
      {Menus.Popup, 13, contextHelp},
      {Menus.Popup, 14, m.About},
      {Menus.Popup, 16, close},
  };
  for (const auto& item : items) SetMenuText(item.menu, item.position, item.text);
}
