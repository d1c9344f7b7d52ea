// File helpers of the Windows unit tests: private folders that clean up after
// themselves, Unix paths seen through Wine's Z: drive, contents and digests.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// "/a/b" as Wine shows it: "Z:\a\b".
std::string WinPath(const std::string& unixPath);

// A fresh folder under the system's temporary folder, removed with everything
// in it (read-only files included) at the end of the scope.
class TempTree {
 public:
  TempTree();
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;
  const std::string& Path() const { return FPath; }  // ends with "\"
  std::string operator/(const std::string& name) const { return FPath + name; }

 private:
  std::string FPath;
};

void RemoveTree(const std::string& path);
// Paths of every file and folder below a folder, relative to it, sorted;
// folders end with "\".
std::vector<std::string> TreeBelow(const std::string& folder);
bool PathExists(const std::string& path);
std::string ReadText(const std::string& path);
// Lower-case hexadecimal MD5 of a file's contents; empty when it cannot be read.
std::string Md5OfFile(const std::string& path);

// Answers OK to every message box this process shows while it lives, so that
// code that reports through one can run unattended; keeps their captions.
class BoxCloser {
 public:
  BoxCloser();
  ~BoxCloser();
  BoxCloser(const BoxCloser&) = delete;
  BoxCloser& operator=(const BoxCloser&) = delete;
  std::vector<std::string> Captions();

 private:
  static BOOL CALLBACK Visit(HWND window, LPARAM self);
  BOOL Answer(HWND window);
  void Run();
  std::atomic<bool> FStop{false};
  std::mutex FLock;
  std::vector<std::string> FCaptions;
  std::vector<HWND> FAnswered;
  std::thread FThread;
};
