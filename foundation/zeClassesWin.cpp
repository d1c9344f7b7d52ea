// The Windows half of the foundation: file streams on kernel handles, critical
// sections, the locale-aware comparison and the system's temporary folder.
#include <windows.h>

#include "foundation/zeClasses.h"

namespace {

// Translates the program's 16-bit open mode into CreateFileA's access, sharing
// and disposition; false for the invalid access value 3 or sharing above 0x40.
bool DecodeOpenMode(uint16_t mode, DWORD& access, DWORD& share, DWORD& disposition) {
  if (mode == OpenCreate) {
    access = GENERIC_READ | GENERIC_WRITE;
    share = 0;
    disposition = CREATE_ALWAYS;
    return true;
  }
  static const DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
  static const DWORD kShare[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
  const unsigned accessBits = mode & 0x3;
  const unsigned shareIndex = (mode & 0xF0) >> 4;
  if (accessBits == 3 || shareIndex > 4) return false;
  access = kAccess[accessBits];
  share = kShare[shareIndex];
  disposition = OPEN_EXISTING;
  return true;
}

}  // namespace

TzeFileStream::TzeFileStream(const std::string& fileName, uint16_t mode) : FHandle(nullptr), FFileName(fileName) {
  DWORD access = 0, share = 0, disposition = 0;
  HANDLE h = INVALID_HANDLE_VALUE;
  if (DecodeOpenMode(mode, access, share, disposition))
    h = CreateFileA(fileName.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw Exception("Cannot open file " + fileName);
  FHandle = h;
}

TzeFileStream::~TzeFileStream() { CloseHandle(FHandle); }

int32_t TzeFileStream::GetPosition() {
  const DWORD pos = SetFilePointer(FHandle, 0, nullptr, FILE_CURRENT);
  return pos == INVALID_SET_FILE_POINTER ? -1 : static_cast<int32_t>(pos);
}

void TzeFileStream::SetPosition(int32_t position) { SetFilePointer(FHandle, position, nullptr, FILE_BEGIN); }

int32_t TzeFileStream::GetSize() {
  const DWORD pos = SetFilePointer(FHandle, 0, nullptr, FILE_CURRENT);
  const DWORD size = SetFilePointer(FHandle, 0, nullptr, FILE_END);
  SetFilePointer(FHandle, static_cast<LONG>(pos), nullptr, FILE_BEGIN);
  return static_cast<int32_t>(size);
}

int32_t TzeFileStream::Read(void* buffer, int32_t count) {
  DWORD done = 0;
  if (count <= 0 || !ReadFile(FHandle, buffer, static_cast<DWORD>(count), &done, nullptr)) return 0;
  return static_cast<int32_t>(done);
}

int32_t TzeFileStream::Write(const void* buffer, int32_t count) {
  DWORD done = 0;
  if (count <= 0 || !WriteFile(FHandle, buffer, static_cast<DWORD>(count), &done, nullptr)) return 0;
  return static_cast<int32_t>(done);
}

void TzeFileStream::ReadBuffer(void* buffer, int32_t count) {
  if (count != 0 && Read(buffer, count) != count) throw Exception("Cannot read file " + FFileName);
}

struct TCriticalSection::Impl {
  CRITICAL_SECTION section;
};

TCriticalSection::TCriticalSection() : FImpl(new Impl) { InitializeCriticalSection(&FImpl->section); }
TCriticalSection::~TCriticalSection() { DeleteCriticalSection(&FImpl->section); }
void TCriticalSection::Enter() { EnterCriticalSection(&FImpl->section); }
void TCriticalSection::Leave() { LeaveCriticalSection(&FImpl->section); }

bool AnsiSameText(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

std::string SystemTempFolder() {
  char path[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, path);
  return path;
}

TLocalTime CurrentLocalTime() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
