#include "tests/unit/WinTestFiles.h"

#include <wincrypt.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "foundation/zeClasses.h"

std::string WinPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

TempTree::TempTree() {
  FPath = MakeTempName("dir", "", "zeT_");
  CreateDirectoryA(FPath.c_str(), nullptr);
  FPath += '\\';
}

TempTree::~TempTree() { RemoveTree(FPath); }

void RemoveTree(const std::string& path) {
  std::string folder = path;
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  WIN32_FIND_DATAA data;
  const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = folder + "\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  RemoveDirectoryA(folder.c_str());
}

namespace {

void CollectBelow(const std::string& folder, const std::string& prefix, std::vector<std::string>& out) {
  WIN32_FIND_DATAA data;
  const HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out.push_back(prefix + name + "\\");
      CollectBelow(folder + name + "\\", prefix + name + "\\", out);
    } else {
      out.push_back(prefix + name);
    }
  } while (FindNextFileA(find, &data));
  FindClose(find);
}

}  // namespace

std::vector<std::string> TreeBelow(const std::string& folder) {
  std::vector<std::string> out;
  CollectBelow(folder.empty() || folder.back() == '\\' ? folder : folder + "\\", "", out);
  std::sort(out.begin(), out.end());
  return out;
}

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Md5OfFile(const std::string& path) {
  if (!PathExists(path)) return std::string();
  const std::string data = ReadText(path);
  HCRYPTPROV provider = 0;
  HCRYPTHASH hash = 0;
  std::string hex;
  if (CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) {
    if (CryptCreateHash(provider, CALG_MD5, 0, 0, &hash)) {
      BYTE digest[16];
      DWORD size = sizeof digest;
      if (CryptHashData(hash, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()), 0) &&
          CryptGetHashParam(hash, HP_HASHVAL, digest, &size, 0)) {
        char two[3];
        for (DWORD i = 0; i < size; ++i) {
          std::snprintf(two, sizeof two, "%02x", digest[i]);
          hex += two;
        }
      }
      CryptDestroyHash(hash);
    }
    CryptReleaseContext(provider, 0);
  }
  return hex;
}

BoxCloser::BoxCloser() : FThread([this] { Run(); }) {}

BoxCloser::~BoxCloser() {
  FStop = true;
  FThread.join();
}

std::vector<std::string> BoxCloser::Captions() {
  std::lock_guard<std::mutex> hold(FLock);
  return FCaptions;
}

BOOL CALLBACK BoxCloser::Visit(HWND window, LPARAM self) {
  try {
    return reinterpret_cast<BoxCloser*>(self)->Answer(window);
  } catch (...) {
    return FALSE;  // nothing may be thrown through the system's enumeration
  }
}

BOOL BoxCloser::Answer(HWND window) {
  BoxCloser& closer = *this;
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char className[32] = {};
  GetClassNameA(window, className, sizeof className);
  if (process != GetCurrentProcessId() || std::string(className) != "#32770" || !IsWindowVisible(window)) return TRUE;
  std::lock_guard<std::mutex> hold(closer.FLock);
  if (std::find(closer.FAnswered.begin(), closer.FAnswered.end(), window) != closer.FAnswered.end()) return TRUE;
  char caption[256] = {};
  GetWindowTextA(window, caption, sizeof caption);
  closer.FCaptions.push_back(caption);
  closer.FAnswered.push_back(window);
  PostMessageA(window, WM_COMMAND, IDOK, 0);
  return TRUE;
}

void BoxCloser::Run() {
  while (!FStop) {
    {
      // A handle may come back for a later box once the answered one is gone.
      std::lock_guard<std::mutex> hold(FLock);
      FAnswered.erase(std::remove_if(FAnswered.begin(), FAnswered.end(), [](HWND w) { return !IsWindow(w); }),
                      FAnswered.end());
    }
    EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
    Sleep(20);
  }
}
