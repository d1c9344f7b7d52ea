#include "app/Globals.h"

HWND MainWindow = nullptr;
std::string SystemTempPath;
std::string TempFolder;
std::vector<char> LanguageTable;
TSegmentList* SegmentList = nullptr;
