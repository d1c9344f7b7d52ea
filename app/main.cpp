// The program's spine: start-up, the message loop and shutdown.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/Globals.h"
#include "app/MainForm.h"
#include "app/FilmLoader.h"
#include "app/TestLog.h"
#include "engine/Display.h"
#include "engine/UzeBlocks.h"
#include "foundation/SegmentList.h"
#include "shell/zePStrings.h"
#include "foundation/ZecabClasses.h"
#include "foundation/zeClasses.h"

namespace {

// The first SystemTempPath + "zeP_NNNN\" that does not exist yet, created. A
// folder left behind by an earlier run is skipped, never reused.
std::string ChooseTempFolder(const std::string& systemTemp) {
  for (unsigned n = 0;; ++n) {
    char number[16];
    std::snprintf(number, sizeof number, "%04u", n);
    const std::string folder = systemTemp + "zeP_" + number + "\\";
    if (!FileExists(folder)) {
      CreateDirectoryA(folder.c_str(), nullptr);  // its failure shows when files are made in it
      return folder;
    }
  }
}

void RegisterMainClass(HINSTANCE instance, HICON icon) {
  WNDCLASSA wc = {};
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = MainWndProc;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszMenuName = "ZEAPP";
  wc.lpszClassName = kMainClassName;
  RegisterClassA(&wc);
}

void RunMessageLoop(HACCEL accelerators) {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    // Tab and arrow keys move among the main window's child controls.
    if (!IsDialogMessageA(MainWindow, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    // Every message is offered to the accelerators as well, so a shortcut works
    // wherever the focus is, and an accelerator key is also delivered as a key.
    TranslateAcceleratorA(MainWindow, accelerators, &msg);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  OpenTestLog();
  CreateBlocks();  // the 32 MiB that playing reuses for the whole run
  texts::AssignDefaultTexts();
  ReadLanguageTable();
  if (!LanguageTable.empty()) {
    TzeStringList table;
    table.LoadFromBuffer(LanguageTable.data(), static_cast<int32_t>(LanguageTable.size()));
    texts::ApplyMessageTexts(table);
  }

  SystemTempPath = SystemTempFolder();
  TempFolder = ChooseTempFolder(SystemTempPath);
  InitDisplayState();

  HICON icon = LoadIconA(instance, "PMAINICON");
  RegisterMainClass(instance, icon);
  MainWindow = CreateWindowExA(WS_EX_CONTROLPARENT, kMainClassName, kMainWindowTitle,
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 600, 400, nullptr,
                               nullptr, instance, nullptr);
  UpdateWindow(MainWindow);
  PublishEvent(evStartup, 0);
  HACCEL accelerators = LoadAcceleratorsA(instance, "MENUP");

  struct Shutdown {  // also when an error escapes from the loop
    HACCEL accelerators;
    ~Shutdown() {
      DestroyAcceleratorTable(accelerators);
      RemoveDirectoryA(TempFolder.c_str());
      FreeBlocks();
      CloseTestLog();
    }
  } shutdown{accelerators};

  RunMessageLoop(accelerators);

  delete SegmentList;  // deletes every temporary file of the film
  SegmentList = nullptr;
  LanguageTable.clear();
  return 0;
}
