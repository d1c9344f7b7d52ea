// The About box. Its template gives only the frame; everything inside is drawn
// here on a white background, in proportion to the measured client area.
#include "controls/UzePAbout.h"

#include <shellapi.h>

#include <cstring>
#include <string>

#include "app/Globals.h"
#include "app/UzeCommon.h"
#include "shell/zePStrings.h"

namespace {

const char kCaption[] = "About vaRorivi";
const char kCloseText[] = "Close";
const char kTitle[] = "vaRorivi";
const char kVersion[] = "version 2.2.0.16";
const char kNotice[] = "Plays screen recordings.\rMade by the vaRorivi team.";
const char kLinkClass[] = "Link";
const COLORREF kWhite = 0xFFFFFF;
const COLORREF kLineColour = 0x888080;
const COLORREF kShadowColour = 0xA0A0A0;
const COLORREF kLinkColour = 0xFF0000;  // blue: COLORREF is 0x00BBGGRR

// State of the open box.
HWND AboutDialog = nullptr;
RECT ClientRect = {};
struct {
  LONG W, H;
  LONG IconTop, NoticeTop, LinkTop, SeparatorY, VersionTop, VersionLeft, IconLeft, TextLeft, LinkWidth;
} Layout = {};
HICON Icon = nullptr;  // shared by the system: never destroyed
HBRUSH WhiteBrush = nullptr;
HPEN LinePen = nullptr;
HFONT TitleFont = nullptr, TextFont = nullptr, LinkFont = nullptr;
HWND CloseButton = nullptr, LinkWindow = nullptr;

HINSTANCE ProgramInstance() { return GetModuleHandleA(nullptr); }

// "http://host/path" -> "host".
std::string HostName(const char* address) {
  std::string host = address;
  const auto scheme = host.find("://");
  if (scheme != std::string::npos) host.erase(0, scheme + 3);
  const auto slash = host.find('/');
  if (slash != std::string::npos) host.erase(slash);
  return host;
}

void ComputeLayout() {
  const LONG W = ClientRect.right, H = ClientRect.bottom;
  Layout.W = W;
  Layout.H = H;
  Layout.IconTop = H / 24;
  Layout.NoticeTop = H * 3 / 8;
  Layout.LinkTop = H * 5 / 8;
  Layout.SeparatorY = H * 49 / 64;
  Layout.VersionTop = H * 9 / 40;
  Layout.VersionLeft = W * 5 / 8;
  Layout.IconLeft = W / 32;
  Layout.TextLeft = W / 4;
  Layout.LinkWidth = W * 3 / 4;
}

// Registered at every opening; from the second on it fails, and the class
// registered the first time serves.
void RegisterLinkClass() {
  WNDCLASSA wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = LinkWndProc;
  wc.hInstance = ProgramInstance();
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // IDC_HAND
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszMenuName = kLinkClass;
  wc.lpszClassName = kLinkClass;
  RegisterClassA(&wc);
}

void AboutInit(HWND dialog) {
  AboutDialog = dialog;
  GetClientRect(dialog, &ClientRect);
  ComputeLayout();
  const LONG W = Layout.W, H = Layout.H;
  WhiteBrush = CreateSolidBrush(kWhite);
  LinePen = CreatePen(PS_SOLID, 1, kLineColour);
  SetWindowTextA(dialog, kCaption);
  CloseButton = CreateWindowExA(0, "BUTTON", kCloseText, WS_CHILD | WS_VISIBLE | BS_FLAT, W * 3 / 4 - 8, H * 13 / 16,
                                W / 4, H / 7, dialog, reinterpret_cast<HMENU>(IDOK), ProgramInstance(), nullptr);
  RegisterLinkClass();
  LinkWindow = CreateWindowExA(0, kLinkClass, "", WS_CHILD | WS_VISIBLE, Layout.TextLeft, Layout.LinkTop,
                               Layout.LinkWidth, 16, dialog, nullptr, ProgramInstance(), nullptr);
  TitleFont = CreateNamedFont("Times New Roman", 32, 1);
  TextFont = CreateNamedFont("Tahoma", 14, 0);
  LinkFont = CreateNamedFont("Tahoma", 14, 4);
  Icon = LoadIconA(ProgramInstance(), "PMAINICON");
}

// Draws everything but the two child windows, which the dialog's
// WS_CLIPCHILDREN keeps out of reach.
void AboutPaint() {
  const LONG W = Layout.W, H = Layout.H;
  HDC dc = GetDC(AboutDialog);
  FillRect(dc, &ClientRect, WhiteBrush);
  DrawIcon(dc, Layout.IconLeft, Layout.IconTop, Icon);
  HGDIOBJ oldPen = SelectObject(dc, LinePen);
  MoveToEx(dc, Layout.IconLeft, Layout.SeparatorY, nullptr);
  LineTo(dc, W - W / 32, Layout.SeparatorY);
  TextOutA(dc, Layout.VersionLeft, Layout.VersionTop, kVersion, static_cast<int>(std::strlen(kVersion)));
  HGDIOBJ oldFont = SelectObject(dc, TextFont);
  RECT notice = MakeRect(Layout.TextLeft, Layout.NoticeTop, Layout.TextLeft + W / 2 - 1, Layout.NoticeTop + H / 2 - 1);
  DrawTextA(dc, kNotice, -1, &notice, 0);
  SetBkMode(dc, TRANSPARENT);
  SelectObject(dc, TitleFont);
  SetTextColor(dc, kShadowColour);
  TextOutA(dc, Layout.TextLeft + 2, Layout.IconTop + 2, kTitle, static_cast<int>(std::strlen(kTitle)));
  SetTextColor(dc, 0);
  TextOutA(dc, Layout.TextLeft, Layout.IconTop, kTitle, static_cast<int>(std::strlen(kTitle)));
  // The DC is shared: it goes back without our objects selected into it.
  SelectObject(dc, oldFont);
  SelectObject(dc, oldPen);
  ReleaseDC(AboutDialog, dc);
}

// Safe to call twice: the box frees at its close and again when destroyed,
// which alone happens when its owner goes first (the film ended under
// close-on-finish while the box was open).
void AboutFree() {
  for (HGDIOBJ* object : {reinterpret_cast<HGDIOBJ*>(&WhiteBrush), reinterpret_cast<HGDIOBJ*>(&LinePen),
                          reinterpret_cast<HGDIOBJ*>(&TitleFont), reinterpret_cast<HGDIOBJ*>(&TextFont),
                          reinterpret_cast<HGDIOBJ*>(&LinkFont)}) {
    if (*object) DeleteObject(*object);
    *object = nullptr;
  }
}

void DrawLinkText(HWND link) {
  if (!LinkFont) return;  // the box is closing
  const std::string host = HostName(texts::kMakerSite);
  HDC dc = GetDC(link);
  RECT r;
  GetClientRect(link, &r);
  HGDIOBJ oldFont = SelectObject(dc, LinkFont);
  SetTextColor(dc, kLinkColour);
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, host.c_str(), static_cast<int>(host.size()), &r, DT_VCENTER);
  SelectObject(dc, oldFont);
  ReleaseDC(link, dc);
}

}  // namespace

void ShowAboutBox() { DialogBoxParamA(ProgramInstance(), "ABOUTBOX", MainWindow, AboutDialogProc, 0); }

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  try {
    switch (msg) {
      case WM_INITDIALOG:
        AboutInit(dialog);
        return 0;
      case WM_PAINT:
        AboutPaint();
        return 0;  // the default handling then validates the area
      case WM_ERASEBKGND:
        return 1;  // the paint covers the whole client area
      case WM_COMMAND:
        // 1: the Close button or Enter; 2: Esc or the caption's close box.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
          AboutFree();
          EndDialog(dialog, 1);
          return 1;
        }
        return 0;
      case WM_DESTROY:
        AboutFree();
        AboutDialog = CloseButton = LinkWindow = nullptr;
        return 0;
      default:
        return 0;
    }
  } catch (...) {
    return 0;
  }
}

LRESULT CALLBACK LinkWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    switch (msg) {
      case WM_PAINT: {
        const LRESULT result = DefWindowProcA(hwnd, msg, wParam, lParam);  // erases with the class brush
        DrawLinkText(hwnd);
        return result;
      }
      case WM_LBUTTONDOWN:
        ShellExecuteA(hwnd, nullptr, texts::kMakerSite, nullptr, nullptr, SW_SHOWMAXIMIZED);
        return 0;
      default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
  } catch (...) {
    return 0;
  }
}

TAboutObjects AboutObjects() { return {WhiteBrush, LinePen, TitleFont, TextFont, LinkFont}; }
