#include "tests/e2e/Harness.h"

#include <fstream>
#include <sstream>

std::string PlayerPath;

namespace {

bool PollUntil(DWORD timeoutMs, bool (*done)(void*), void* context) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (done(context)) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(25);
  }
}

// Finds a visible top-level window of a process by class and, when given, caption.
struct FindWindowContext {
  DWORD pid;
  const char* cls;
  const std::string* caption;
  HWND found;
};

BOOL CALLBACK FindWindowOf(HWND w, LPARAM lParam) {
  auto* c = reinterpret_cast<FindWindowContext*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (pid == c->pid && std::string(cls) == c->cls && IsWindowVisible(w) &&
      (!c->caption || c->caption->empty() || WindowText(w) == *c->caption))
    c->found = w;
  return c->found == nullptr;
}

HWND WaitForWindow(DWORD pid, const char* cls, const std::string* caption, DWORD timeoutMs) {
  FindWindowContext find{pid, cls, caption, nullptr};
  PollUntil(
      timeoutMs,
      [](void* p) {
        EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(p));
        return static_cast<FindWindowContext*>(p)->found != nullptr;
      },
      &find);
  return find.found;
}

// The environment block of this process with some variables replaced.
std::string EnvironmentWith(const std::vector<std::pair<std::string, std::string>>& vars) {
  std::string block;
  char* env = GetEnvironmentStringsA();
  for (const char* p = env; *p; p += strlen(p) + 1) {
    std::string entry(p);
    bool replaced = false;
    for (const auto& v : vars)
      if (_strnicmp(entry.c_str(), (v.first + "=").c_str(), v.first.size() + 1) == 0) replaced = true;
    if (!replaced) block += entry + '\0';
  }
  FreeEnvironmentStringsA(env);
  for (const auto& v : vars) block += v.first + "=" + v.second + '\0';
  block += '\0';
  return block;
}

}  // namespace

TestDir::TestDir() {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  static int counter = 0;
  for (;;) {
    FPath = std::string(base) + "e2e_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(counter++) + "\\";
    if (CreateDirectoryA(FPath.c_str(), nullptr)) break;
  }
}

TestDir::~TestDir() { RemoveTree(FPath); }

bool DirExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> ListDir(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  std::string dir = folder;
  if (!dir.empty() && dir.back() != '\\') dir += '\\';
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + pattern).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string n = fd.cFileName;
    if (n != "." && n != "..") names.push_back(n);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return names;
}

void RemoveTree(const std::string& path) {
  std::string dir = path;
  if (!dir.empty() && dir.back() == '\\') dir.pop_back();
  for (const std::string& name : ListDir(dir)) {
    const std::string full = dir + "\\" + name;
    if (DirExists(full))
      RemoveTree(full);
    else
      DeleteFileA(full.c_str());
  }
  RemoveDirectoryA(dir.c_str());
}

PlayerProcess::PlayerProcess(const TestDir& temp, const std::string& arguments, const std::string& program,
                             const std::vector<std::pair<std::string, std::string>>& environment)
    : FLogPath(temp / "test.log") {
  const std::string exe = program.empty() ? PlayerPath : program;
  std::string tmp = temp.Path();
  tmp.pop_back();  // TMP is given without its trailing backslash
  auto vars = environment;
  vars.insert(vars.end(), {{"TMP", tmp}, {"TEMP", tmp}, {"VARORIVI_TESTLOG", FLogPath}});
  std::string env = EnvironmentWith(vars);
  std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, &env[0], nullptr, &si, &FInfo))
    throw std::runtime_error("cannot start " + exe);
}

std::string WinPath(const std::string& unixPath) {
  std::string p = "Z:" + unixPath;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

PlayerProcess::~PlayerProcess() {
  if (Running()) {
    TerminateProcess(FInfo.hProcess, 99);
    WaitForSingleObject(FInfo.hProcess, 5000);
  }
  CloseHandle(FInfo.hThread);
  CloseHandle(FInfo.hProcess);
}

HWND PlayerProcess::WaitForMainWindow(DWORD timeoutMs) {
  return WaitForWindow(FInfo.dwProcessId, "ZEAPP", nullptr, timeoutMs);
}

long PlayerProcess::WaitForExit(DWORD timeoutMs) {
  if (WaitForSingleObject(FInfo.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(FInfo.hProcess, &code);
  return static_cast<long>(code);
}

bool PlayerProcess::Running() { return WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT; }

std::vector<std::string> PlayerProcess::LogLines() const {
  std::vector<std::string> lines;
  std::ifstream in(FLogPath, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

std::string WithoutStamp(const std::string& line) {
  const size_t space = line.find(' ');
  return space == std::string::npos ? line : line.substr(space + 1);
}

bool PlayerProcess::WaitForLog(const std::string& text, DWORD timeoutMs) const {
  struct Ctx {
    const PlayerProcess* self;
    const std::string* text;
  } c{this, &text};
  return PollUntil(
      timeoutMs,
      [](void* p) {
        auto* ctx = static_cast<Ctx*>(p);
        for (const std::string& line : ctx->self->LogLines())
          if (WithoutStamp(line) == *ctx->text) return true;
        return false;
      },
      &c);
}

void PressKeys(const std::vector<WORD>& keys) {
  std::vector<INPUT> inputs;
  for (WORD k : keys) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = k;
    inputs.push_back(in);
  }
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = *it;
    in.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(in);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::string WindowText(HWND hwnd) {
  char text[512] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

void Press(HWND window, const std::vector<WORD>& keys) {
  SetForegroundWindow(window);
  PressKeys(keys);
}

HWND WaitForDialog(const PlayerProcess& player, DWORD timeoutMs, const std::string& caption) {
  return WaitForWindow(player.ProcessId(), "#32770", &caption, timeoutMs);
}

std::string AnswerBox(const PlayerProcess& player, DWORD timeoutMs) {
  HWND box = WaitForDialog(player, timeoutMs);
  if (!box) return "";
  char text[512] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the static text of a message box
  const std::string found = WindowText(box) + "|" + text;
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  return found;
}

std::string TestPlayer(const std::string& name) { return WinPath(std::string(TEST_PLAYERS_DIR) + "/" + name); }

std::vector<uint32_t> ScreenPicture(HWND w, int width, int height) {
  POINT origin = {0, 0};
  ClientToScreen(w, &origin);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFOHEADER h = {sizeof h, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  std::vector<uint32_t> pixels(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + width * height);
  for (auto& p : pixels) p &= 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}
