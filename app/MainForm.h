// The main window: its window procedure, creation and destruction.
#pragma once

#include <windows.h>

extern const char kMainClassName[];    // "ZEAPP"
extern const char kMainWindowTitle[];  // "vaRorivi v2.2"

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
