#include "app/UzeCommon.h"

#include <cstring>

#include "app/TestLog.h"

HBITMAP SetButtonBitmap(HWND button, const char* bitmapName) {
  HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), bitmapName);
  SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  return bitmap;
}

void SetButtonCheck(HWND button, bool checked) {
  SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

RECT MakeRect(LONG left, LONG top, LONG right, LONG bottom) { return RECT{left, top, right, bottom}; }

namespace {

// The first and last coordinate of a span of the given signed length from start.
void Span(LONG start, LONG length, LONG& low, LONG& high) {
  low = length >= 0 ? start : start + length + 1;
  high = length >= 0 ? start + length - 1 : start;
}

}  // namespace

RECT MakeRectSized(LONG x, LONG y, LONG width, LONG height) {
  RECT r;
  Span(x, width, r.left, r.right);
  Span(y, height, r.top, r.bottom);
  return r;
}

void SetMenuText(HMENU menu, UINT position, const std::string& text) {
  if (text.empty() || text[0] == '\b') return;
  std::string copy = text;
  MENUITEMINFOA info = {};
  info.cbSize = 48;  // the size older systems know
  info.fMask = MIIM_TYPE;
  info.fType = MFT_STRING;
  info.dwTypeData = &copy[0];
  info.cch = static_cast<UINT>(copy.size() + 1);
  if (!SetMenuItemInfoA(menu, position, TRUE, &info))
    ShowMessageBox(nullptr, "SetMenuText: SetMenuItemInfo error", "Debug", MB_OK);
}

void CheckMenuItemAt(HMENU menu, UINT position, bool checked) {
  CheckMenuItem(menu, position, MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void EnableMenuItemAt(HMENU menu, UINT position, bool enabled) {
  EnableMenuItem(menu, position, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
}

namespace {

// Kept between calls: a face that is not found gets the previous call's font.
LOGFONTA sharedFont = {};
std::string wantedFace;

int CALLBACK MatchFullName(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM) {
  const auto* full = reinterpret_cast<const ENUMLOGFONTA*>(font);
  char name[LF_FULLFACESIZE + 1] = {};
  std::memcpy(name, full->elfFullName, LF_FULLFACESIZE);
  if (wantedFace == name) {
    sharedFont = *font;
    return 0;
  }
  return 1;
}

}  // namespace

HFONT CreateNamedFont(const std::string& face, LONG height, unsigned style) {
  wantedFace = face;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesA(screen, face.c_str(), MatchFullName, 0);
  ReleaseDC(nullptr, screen);
  sharedFont.lfHeight = height;
  sharedFont.lfWidth = 0;
  sharedFont.lfCharSet = DEFAULT_CHARSET;
  sharedFont.lfWeight = (style & 1) ? FW_BOLD : FW_NORMAL;
  sharedFont.lfItalic = (style & 2) ? 1 : 0;
  sharedFont.lfUnderline = (style & 4) ? 1 : 0;
  sharedFont.lfStrikeOut = (style & 8) ? 1 : 0;
  return CreateFontIndirectA(&sharedFont);
}
