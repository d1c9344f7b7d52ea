#include "app/TestLog.h"

#include <cstdio>

#include "foundation/ZecabClasses.h"

namespace {

HANDLE logFile = INVALID_HANDLE_VALUE;
TMessageBoxHandler messageBoxHandler = nullptr;
LARGE_INTEGER startCount, countsPerSecond;

void LogEvent(uint8_t code, int32_t param, void*) {
  TestLog("event", std::to_string(code) + " " + std::to_string(param));
}

// CR and LF inside a logged text would split its line.
std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out;
}

}  // namespace

void OpenTestLog() {
  char name[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableA("VARORIVI_TESTLOG", name, sizeof name);
  if (n == 0 || n >= sizeof name) return;
  QueryPerformanceFrequency(&countsPerSecond);
  QueryPerformanceCounter(&startCount);
  // Appending with one WriteFile per line keeps every line whole, even when the
  // process is ended abruptly or another process writes to the same log.
  logFile = CreateFileA(name, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (logFile != INVALID_HANDLE_VALUE) EventPublisher.Subscribe(LogEvent);
}

void CloseTestLog() {
  if (logFile == INVALID_HANDLE_VALUE) return;
  EventPublisher.Unsubscribe(LogEvent);
  CloseHandle(logFile);
  logFile = INVALID_HANDLE_VALUE;
}

bool TestLogActive() { return logFile != INVALID_HANDLE_VALUE; }

void TestLog(const char* kind, const std::string& text) {
  if (logFile == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const long long ms = (now.QuadPart - startCount.QuadPart) * 1000 / countsPerSecond.QuadPart;
  const std::string line = std::to_string(ms) + " " + kind + " " + text + "\n";
  DWORD written = 0;
  WriteFile(logFile, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
  TestLog("box", Escape(caption) + "|" + Escape(text));
  if (messageBoxHandler) return messageBoxHandler(text, caption, type);
  return MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

void SetMessageBoxHandler(TMessageBoxHandler handler) { messageBoxHandler = handler; }
