// The test log: when VARORIVI_TESTLOG names a file, the program appends a line
// for every published event and every message box. Nothing else changes.
#pragma once

#include <windows.h>

#include <string>

// Opens the log named by the environment and subscribes to the events; does
// nothing when the variable is not set.
void OpenTestLog();
void CloseTestLog();
bool TestLogActive();
// Appends "<ms since start> <kind> <text>" as one line.
void TestLog(const char* kind, const std::string& text);

// MessageBoxA, noted in the test log before it shows.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

// In-process tests answer message boxes themselves: while a handler is set,
// ShowMessageBox calls it in place of MessageBoxA and returns what it returns.
using TMessageBoxHandler = int (*)(const std::string& text, const std::string& caption, UINT type);
void SetMessageBoxHandler(TMessageBoxHandler handler);
