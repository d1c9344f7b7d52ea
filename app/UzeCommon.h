// Small window utilities shared by the main window, the panel, the segment list
// and the About box.
#pragma once

#include <windows.h>

#include <string>

HBITMAP SetButtonBitmap(HWND button, const char* bitmapName);
void SetButtonCheck(HWND button, bool checked);
RECT MakeRect(LONG left, LONG top, LONG right, LONG bottom);
// width >= 0: left = x, right = x + width - 1; width < 0: right = x, left = x + width + 1 (height alike).
RECT MakeRectSized(LONG x, LONG y, LONG width, LONG height);
// Leaves the item alone when the text is empty or starts with the byte 0x08.
void SetMenuText(HMENU menu, UINT position, const std::string& text);
void CheckMenuItemAt(HMENU menu, UINT position, bool checked);
void EnableMenuItemAt(HMENU menu, UINT position, bool enabled);
// style bits: 1 bold, 2 italic, 4 underline, 8 strike-out. The caller deletes the font.
HFONT CreateNamedFont(const std::string& face, LONG height, unsigned style);
