// Process-wide values of the start-up, shared by the program's units.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class TSegmentList;

extern HWND MainWindow;              // none until the main window exists
extern std::string SystemTempPath;   // the system's temporary folder, ending in "\"
extern std::string TempFolder;       // this run's private folder in it, ending in "\"
extern std::vector<char> LanguageTable;  // raw bytes of the table in the executable's tail; empty: none
extern TSegmentList* SegmentList;        // the film in memory; none until the main window made it
