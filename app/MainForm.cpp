#include "app/MainForm.h"

#include <mmsystem.h>

#include <memory>
#include <string>

#include "app/FilmDialogs.h"
#include "app/FilmLoader.h"
#include "app/Globals.h"
#include "app/MenuTexts.h"
#include "app/TestLog.h"
#include "app/UzeCommon.h"
#include "app/WindowLayout.h"
#include "engine/Clock.h"
#include "engine/Display.h"
#include "engine/EngineLock.h"
#include "engine/FrameFeed.h"
#include "engine/PictureLayout.h"
#include "engine/Transport.h"
#include "controls/PanelHooks.h"
#include "controls/UzePAbout.h"
#include "engine/UzeBlocks.h"
#include "foundation/SegmentList.h"
#include "foundation/ZecabClasses.h"
#include "resources/resource.h"
#include "shell/Format.h"
#include "shell/UzeCmd.h"
#include "shell/zePStrings.h"
#include "sound/SoundSync.h"

const char kMainClassName[] = "ZEAPP";
const char kMainWindowTitle[] = "vaRorivi v2.2";

bool LoadAllowed = false;
TMainMenus Menus;
RECT ClientRect = {0, 0, 0, 0};

namespace {

HFONT loadingFont = nullptr;

// Popup positions of the items UpdateMenuState touches.
enum : UINT { kPopupLoad = 0, kPopupPlay = 2, kPopupPause = 3, kPopupStop = 4, kPopupPrev = 7, kPopupNext = 8,
              kPopupShowPanel = 10, kPopupFullScreen = 11 };

void BuildPopupMenu() {
  struct Item {
    UINT id;  // 0: separator
    const char* text;
  } items[] = {{CMD_LOAD, "Load..."},      {0, ""},
               {CMD_PLAY, "Play"},         {CMD_PAUSE, "Pause"},
               {CMD_STOP, "Stop"},         {0, ""},
               {CMD_SEGMENTS, "Segments"}, {CMD_PREV, "Previous segment"},
               {CMD_NEXT, "Next segment"}, {0, ""},
               {CMD_SHOWPANEL, "Show control panel"}, {CMD_FULLSCREEN, "Full screen"},
               {0, ""},                    {CMD_CONTEXTHELP, "Help"},
               {CMD_ABOUT, "About..."},    {0, ""},
               {CMD_EXIT, "Close"}};
  Menus.Popup = CreatePopupMenu();
  for (const Item& it : items) AppendMenuA(Menus.Popup, it.id ? MF_STRING : MF_SEPARATOR, it.id, it.text);
}

std::string FileNamePart(const std::string& path) {
  const size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ProgramPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

// Places and shows the window as the command line asks.
void ApplyWindowMode(HWND hwnd) {
  if (Cmd.FullScreen) {
    PanelShown = false;
    FullScreen = true;
    SetWindowLongA(hwnd, GWL_STYLE, 0x02800000);
    SetMenu(hwnd, nullptr);
    ShowWindow(hwnd, SW_SHOWMAXIMIZED);
  } else if (Cmd.WindowMode == wmMaximized) {
    SendMessageA(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  } else {
    SetWindowPos(hwnd, HWND_TOP, Cmd.Left, Cmd.Top, Cmd.Width, Cmd.Height, SWP_SHOWWINDOW);
  }
}

void OnCreate(HWND hwnd) {
  MainWindow = hwnd;  // first: everything done during creation draws and posts through it
  BlockQueue->WindowHandle = hwnd;
  EngineLock = new TCriticalSection;
  TicksPerFrame = 1;
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  IsWindowsNT = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  Menus.Bar = GetMenu(hwnd);
  Menus.File = GetSubMenu(Menus.Bar, 0);
  Menus.Actions = GetSubMenu(Menus.Bar, 1);
  Menus.View = GetSubMenu(Menus.Bar, 2);
  Menus.Help = GetSubMenu(Menus.Bar, 3);
  BuildPopupMenu();
  texts::AssignDefaultMenuTexts();
  SetWindowTextA(hwnd, Format("vaRorivi v2.2 - [%s]", {FileNamePart(ProgramPath())}).c_str());
  ApplyMenuTexts();
  CreatePanelTooltips();
  loadingFont = CreateNamedFont("Times New Roman", 18, 1);
  PrepareOpenDialog();
  ParseCommandLine();
  ApplyWindowMode(hwnd);
  GetClientRect(hwnd, &ClientRect);
  UpdateMenuState();
  PlaceChildWindows();

  const std::string startFile = Cmd.FileName.empty() ? ProgramPath() : Cmd.FileName;
  std::unique_ptr<TzeFileStream> stream;
  try {
    stream = std::make_unique<TzeFileStream>(startFile, OpenReadDenyWrite);
  } catch (const Exception&) {
    ShowMessageBox(hwnd, Format(texts::CannotOpenFileFmt, {startFile}), texts::Error, MB_OK);
    return;  // no film: nothing to play, and Load stays unavailable
  }
  SegmentList = new TSegmentList;
  ShowLoadingText();
  LoadAllowed = !LoadStartFilm(*stream, !Cmd.FileName.empty());
  stream.reset();
  InvalidateRect(hwnd, &ClientRect, TRUE);
  StartSegment(Cmd.Segment > 0 ? Cmd.Segment - 1 : -1);  // a segment number below 1 names none
  UpdateMenuState();
}

void OnDestroy() {
  MainWindowClosing = true;
  StopFilm();
  EngineLock->Enter();
  try {
    DeleteObject(loadingFont);
    loadingFont = nullptr;
    ReleaseBuffers();
    if (WaveOpen) CloseWaveOut();
    MainWindow = nullptr;
    PublishEvent(evMainDestroyed, 0);
  } catch (...) {
    EngineLock->Leave();
    throw;
  }
  EngineLock->Leave();
  delete EngineLock;
  EngineLock = nullptr;
  if (Menus.Popup) DestroyMenu(Menus.Popup);
  Menus.Popup = nullptr;
  PostQuitMessage(0);
}

// A Next that playback posted at a segment's end carries the start it belongs
// to; one that arrives after the user stopped or chose another segment is late.
// The menus and keys send none.
bool IsLateNext(LPARAM tag) { return tag != 0 && static_cast<uint32_t>(tag) != StartCounter; }

void OnCommand(HWND hwnd, WORD id, LPARAM lParam) {
  switch (id) {
    case CMD_EXIT:
      DestroyWindow(hwnd);
      break;
    case CMD_LOAD:
      OpenFilmFile();
      break;
    case CMD_PROPERTIES:
      ShowFilmProperties();
      break;
    case CMD_PLAY:
      PlayFilm();
      break;
    case CMD_PAUSE:
      PauseFilm();
      break;
    case CMD_STOP:
      StopFilm();
      break;
    case CMD_SEGMENTS:
      ToggleSegmentList();
      break;
    case CMD_PREV:
      PreviousSegment();
      break;
    case CMD_NEXT:
      if (!IsLateNext(lParam)) NextSegment();
      break;
    case CMD_SHOWPANEL:
      ToggleControlPanel();
      break;
    case CMD_FULLSCREEN:
      ToggleFullScreen();
      break;
    case CMD_CONTEXTHELP:
      ShowMessageBox(hwnd, texts::HelpNotice, texts::Menu.Help, MB_ICONINFORMATION);
      break;
    case CMD_ABOUT:
      ShowAboutBox();
      break;
    default:
      break;
  }
  UpdateMenuState();
  PlaceChildWindows();
}

// While playing, only the parts around the picture are erased: erasing the
// picture's own area would make the frame drawn there flicker.
LRESULT OnEraseBackground(HWND hwnd, HDC dc) {
  if (!dc) return 1;
  const LONG w = Layout.Scaled ? Layout.ScaledWidth : Layout.FilmWidth;
  const LONG h = Layout.Scaled ? Layout.ScaledHeight : Layout.FilmHeight;
  const LONG left = Layout.PictureLeft, top = Layout.PictureTop;
  const RECT parts[] = {
      {0, 0, ClientRect.right, top},
      {0, top + h, ClientRect.right, ClientRect.bottom},
      {0, top, left, top + h},
      {left + w, top, ClientRect.right, top + h},
  };
  HBRUSH brush = reinterpret_cast<HBRUSH>(GetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND));
  for (const RECT& r : parts)
    if (r.right > r.left && r.bottom > r.top) FillRect(dc, &r, brush);
  return 1;
}

LRESULT OnPaint(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (PlayState == psPlaying) {  // the clock draws the picture on its next tick
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    return 0;
  }
  const LRESULT result = DefWindowProcA(hwnd, msg, wParam, lParam);
  if (PlayState == psPaused) PaintFrame();
  return result;
}

// The window may not be made smaller than 600 x 400 by dragging its frame.
LRESULT OnSizing(WPARAM edge, RECT* r) {
  const LONG minWidth = 600, minHeight = 400;
  if (r->right - r->left < minWidth) {
    if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT)
      r->left = r->right - minWidth;
    else
      r->right = r->left + minWidth;
  }
  if (r->bottom - r->top < minHeight) {
    if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT)
      r->top = r->bottom - minHeight;
    else
      r->bottom = r->top + minHeight;
  }
  return 1;
}

void OnEngineError(std::string* text) {
  std::unique_ptr<std::string> owned(text);
  StopFilm();
  ShowMessageBox(MainWindow, owned ? *owned : std::string(), texts::Error, MB_OK);
}

LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      OnCreate(hwnd);
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_SIZE:
      GetClientRect(hwnd, &ClientRect);
      PlaceChildWindows();
      if (PlayState != psStopped) LayoutPicture();
      return 0;
    case WM_PAINT:
      return OnPaint(hwnd, msg, wParam, lParam);
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_ERASEBKGND:
      if (PlayState == psPlaying) return OnEraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_COMMAND:
      OnCommand(hwnd, LOWORD(wParam), lParam);
      return 0;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      // F10 is the Pause key: left to the system it would also put the menu bar
      // into keyboard mode, which swallows the next key (F9 to play on).
      if (wParam == VK_F10) return 0;
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_RBUTTONUP:
      ShowPopupMenu();
      return 0;
    case WM_SIZING:
      return OnSizing(wParam, reinterpret_cast<RECT*>(lParam));
    case MM_WOM_DONE:
      WaveBufferDone(reinterpret_cast<void*>(lParam));
      return 0;
    case UM_BLOCKEMPTY:
      DoBlockEmpty(reinterpret_cast<TBlock*>(lParam), wParam);
      return 0;
    case UM_ENGINEERROR:
      OnEngineError(reinterpret_cast<std::string*>(lParam));
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

// The menu state as one line of the test log: per item 'e' enabled or 'g'
// grayed, upper case when checked, '-' for a separator.
void LogMenuState() {
  if (!TestLogActive()) return;
  auto describe = [](HMENU menu) {
    std::string s;
    const int n = menu ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < n; ++i) {
      const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
      if (state & MF_SEPARATOR) {
        s += '-';
        continue;
      }
      char c = (state & (MF_GRAYED | MF_DISABLED)) ? 'g' : 'e';
      if (state & MF_CHECKED) c = static_cast<char>(c - 32);
      s += c;
    }
    return s;
  };
  TestLog("menu", "File=" + describe(Menus.File) + " Actions=" + describe(Menus.Actions) + " View=" +
                      describe(Menus.View) + " Popup=" + describe(Menus.Popup));
}

}  // namespace

void UpdateMenuState() {
  EnableMenuItemAt(Menus.File, 0, false);
  EnableMenuItemAt(Menus.Popup, kPopupLoad, false);
  for (UINT p : {0u, 1u, 2u}) CheckMenuItemAt(Menus.Actions, p, false);
  for (UINT p : {kPopupPlay, kPopupPause, kPopupStop, kPopupShowPanel, kPopupFullScreen})
    CheckMenuItemAt(Menus.Popup, p, false);
  switch (PlayState) {
    case psStopped:
      if (LoadAllowed) {
        EnableMenuItemAt(Menus.File, 0, true);
        EnableMenuItemAt(Menus.Popup, kPopupLoad, true);
      }
      CheckMenuItemAt(Menus.Actions, 2, true);
      CheckMenuItemAt(Menus.Popup, kPopupStop, true);
      break;
    case psPlaying:
      CheckMenuItemAt(Menus.Actions, 0, true);
      CheckMenuItemAt(Menus.Popup, kPopupPlay, true);
      break;
    case psPaused:
      CheckMenuItemAt(Menus.Actions, 1, true);
      CheckMenuItemAt(Menus.Popup, kPopupPause, true);
      break;
  }
  CheckMenuItemAt(Menus.View, 0, PanelShown);
  CheckMenuItemAt(Menus.Popup, kPopupShowPanel, PanelShown);
  CheckMenuItemAt(Menus.View, 1, FullScreen);
  CheckMenuItemAt(Menus.Popup, kPopupFullScreen, FullScreen);
  UpdatePanelToggles();
  if (SegmentList) {
    const bool hasSegments = SegmentList->Count() > 0;
    EnableMenuItemAt(Menus.File, 1, hasSegments);
    for (UINT p : {0u, 1u, 2u, 5u, 6u}) EnableMenuItemAt(Menus.Actions, p, hasSegments);
    for (UINT p : {kPopupPlay, kPopupPause, kPopupStop, kPopupPrev, kPopupNext})
      EnableMenuItemAt(Menus.Popup, p, hasSegments);
  }
  LogMenuState();
}

void ShowPopupMenu() {
  POINT p;
  GetCursorPos(&p);
  TrackPopupMenu(Menus.Popup, 0, p.x, p.y, 0, MainWindow, nullptr);
}

void ShowLoadingText() {
  HDC dc = GetDC(MainWindow);
  HGDIOBJ old = SelectObject(dc, loadingFont);
  SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, 16, 16, texts::Loading.data(), static_cast<int>(texts::Loading.size()));
  SelectObject(dc, old);
  ReleaseDC(MainWindow, dc);
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Nothing may leave a window procedure: a failure is reported and the program goes on.
  try {
    return HandleMessage(hwnd, msg, wParam, lParam);
  } catch (...) {
    ShowMessageBox(hwnd, "Error in WndProc", "Error", MB_OK);
    return 0;
  }
}
