// The main window: its window procedure, menus and commands.
#pragma once

#include <windows.h>

extern const char kMainClassName[];    // "ZEAPP"
extern const char kMainWindowTitle[];  // "vaRorivi v2.2"

// True when the start file carried no film: File/Load is offered then.
extern bool LoadAllowed;

struct TMainMenus {
  HMENU Bar = nullptr, File = nullptr, Actions = nullptr, View = nullptr, Help = nullptr, Popup = nullptr;
};
extern TMainMenus Menus;
extern RECT ClientRect;  // the main window's client rectangle, refreshed on creation and resizing

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Enables, grays and checks the menu items for the play state and the film.
void UpdateMenuState();
// The popup menu at the mouse cursor; its command arrives at the main window.
void ShowPopupMenu();
// "Loading ..." drawn at (16, 16) until the next repaint.
void ShowLoadingText();
