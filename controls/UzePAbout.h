// The About box: a modal dialog drawn by hand on white, with the program icon,
// the title, the version, a notice, a link to the maker's web site and a Close button.
#pragma once

#include <windows.h>

// Shows the box, owned by the main window, and returns when it is closed.
void ShowAboutBox();

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
// Window procedure of the class "Link": the web address, opened on a click.
LRESULT CALLBACK LinkWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The drawing objects the open box holds; all null when no box is open.
struct TAboutObjects {
  HBRUSH Brush;
  HPEN Pen;
  HFONT TitleFont, TextFont, LinkFont;
};
TAboutObjects AboutObjects();
