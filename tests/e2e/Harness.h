// What the end-to-end tests share: a private temporary folder, the player
// started in it with a test log, its main window, its exit.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The player's path, from the test program's command line.
extern std::string PlayerPath;

// A fresh folder, removed with everything in it at the end of the scope.
class TestDir {
 public:
  TestDir();
  ~TestDir();
  TestDir(const TestDir&) = delete;
  TestDir& operator=(const TestDir&) = delete;
  const std::string& Path() const { return FPath; }  // ends with "\"
  std::string operator/(const std::string& name) const { return FPath + name; }

 private:
  std::string FPath;
};

bool DirExists(const std::string& path);
void RemoveTree(const std::string& path);
// Names in a folder matching a pattern such as "zeP_*".
std::vector<std::string> ListDir(const std::string& folder, const std::string& pattern = "*");

// The player, started with TMP and TEMP naming a test folder (so its TempFolder
// lands there) and VARORIVI_TESTLOG naming a log in that folder. Ended by force
// at the end of the scope if it still runs.
class PlayerProcess {
 public:
  // program: the player or a self-playing copy of it; environment: further variables.
  PlayerProcess(const TestDir& temp, const std::string& arguments = "", const std::string& program = "",
                const std::vector<std::pair<std::string, std::string>>& environment = {});
  ~PlayerProcess();
  PlayerProcess(const PlayerProcess&) = delete;
  PlayerProcess& operator=(const PlayerProcess&) = delete;

  // The visible top-level window of class "ZEAPP" of this process; null after the timeout.
  HWND WaitForMainWindow(DWORD timeoutMs = 20000);
  // The exit code, or -1 when the process still runs after the timeout.
  long WaitForExit(DWORD timeoutMs = 20000);
  bool Running();
  const std::string& LogPath() const { return FLogPath; }
  std::vector<std::string> LogLines() const;
  // Waits until a log line ends with the text (after its time stamp).
  bool WaitForLog(const std::string& text, DWORD timeoutMs = 20000) const;
  DWORD ProcessId() const { return FInfo.dwProcessId; }

 private:
  PROCESS_INFORMATION FInfo = {};
  std::string FLogPath;
};

// "/a/b" as Wine shows it: "Z:\a\b".
std::string WinPath(const std::string& unixPath);

// Removes the "<ms> " stamp of a log line.
std::string WithoutStamp(const std::string& line);
// Key presses through the system's input queue, as a user would type them.
void PressKeys(const std::vector<WORD>& keys);
// The same with the window brought to the front first.
void Press(HWND window, const std::vector<WORD>& keys);

// A visible dialog (message box, open dialog, About box) of the player, with the
// given caption when one is given; null after the timeout.
HWND WaitForDialog(const PlayerProcess& player, DWORD timeoutMs = 20000, const std::string& caption = "");
// Waits for a message box of the player, answers OK and returns "caption|text".
std::string AnswerBox(const PlayerProcess& player, DWORD timeoutMs = 20000);

// A self-playing test copy of the player, by name ("play.exe").
std::string TestPlayer(const std::string& name);
std::string WindowText(HWND hwnd);
// What the screen shows of the window's client area from its top-left corner,
// 0x00RRGGBB per pixel, row by row.
std::vector<uint32_t> ScreenPicture(HWND w, int width, int height);
