// The command line on Windows: the program's arguments, the screen's size, the
// ANSI code page's lower-casing and the two message boxes.
#include <windows.h>

#include "app/TestLog.h"
#include "resources/UzeCmdIds.h"
#include "shell/UzeCmd.h"

namespace {

std::string LoadResourceString(UINT id) {
  char text[256];
  const int n = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
  return std::string(text, n > 0 ? static_cast<size_t>(n) : 0);
}

class TWinCmdHost : public TCmdHost {
 public:
  void LowerCase(std::string& text) override {
    if (!text.empty()) CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
  }
  void ShowUsage() override { ShowMessageBox(nullptr, CmdUsageText, CmdUsageCaption, MB_ICONINFORMATION); }
  void ShowWrongCommandLine() override {
    ShowMessageBox(nullptr, LoadResourceString(IDS_CMD_WRONG_COMMAND_LINE), LoadResourceString(IDS_CMD_ERROR),
                   MB_ICONERROR);
  }
};

}  // namespace

void ParseCommandLineFrom(const std::string& commandLine) {
  HDC screen = GetDC(nullptr);
  const int32_t screenWidth = GetDeviceCaps(screen, HORZRES);
  const int32_t screenHeight = GetDeviceCaps(screen, VERTRES);
  ReleaseDC(nullptr, screen);
  std::vector<std::string> args = SplitCommandLine(commandLine);
  if (!args.empty()) args.erase(args.begin());  // the program itself
  TWinCmdHost host;
  ParseCommandLine(args, screenWidth, screenHeight, host, Cmd);
}

void ParseCommandLine() { ParseCommandLineFrom(GetCommandLineA()); }
