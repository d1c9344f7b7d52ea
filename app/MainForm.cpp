#include "app/MainForm.h"

#include "app/Globals.h"
#include "app/TestLog.h"
#include "engine/EngineLock.h"
#include "foundation/ZecabClasses.h"
#include "resources/resource.h"
#include "shell/UzeCmd.h"

const char kMainClassName[] = "ZEAPP";
const char kMainWindowTitle[] = "vaRorivi v2.2";

namespace {

// Places and shows the window as the command line asks.
void ApplyWindowMode(HWND hwnd) {
  if (Cmd.WindowMode == wmMaximized)
    SendMessageA(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  else
    SetWindowPos(hwnd, HWND_TOP, Cmd.Left, Cmd.Top, Cmd.Width, Cmd.Height, SWP_SHOWWINDOW);
}

void OnCreate(HWND hwnd) {
  MainWindow = hwnd;  // first: everything done during creation draws and posts through it
  EngineLock = new TCriticalSection;
  ApplyWindowMode(hwnd);
}

void OnDestroy() {
  EngineLock->Enter();
  try {
    MainWindow = nullptr;
    PublishEvent(evMainDestroyed, 0);
  } catch (...) {
    EngineLock->Leave();
    throw;
  }
  EngineLock->Leave();
  delete EngineLock;
  EngineLock = nullptr;
  PostQuitMessage(0);
}

void OnCommand(HWND hwnd, WORD id) {
  switch (id) {
    case CMD_EXIT:
      DestroyWindow(hwnd);
      break;
    default:
      break;
  }
}

LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      OnCreate(hwnd);
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_COMMAND:
      OnCommand(hwnd, LOWORD(wParam));
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Nothing may leave a window procedure: a failure is reported and the program goes on.
  try {
    return HandleMessage(hwnd, msg, wParam, lParam);
  } catch (...) {
    ShowMessageBox(hwnd, "Error in WndProc", "Error", MB_OK);
    return 0;
  }
}
