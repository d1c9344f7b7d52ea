// The file and memory callbacks of the cabinet reader, and the file helpers of
// extraction: setting an extracted file's time and attributes, making folders.
#include "film/zeCab.h"

#include <cstdlib>

int32_t CabLastError = 0;

namespace {

// The C run-time open flags the library passes to CabOpen.
constexpr int kOpenAccessMask = 0x0003;  // 0 read, 1 write, 2 or 3 both
constexpr int kOpenWriteOnly = 0x0001;
constexpr int kOpenAppend = 0x0008;
constexpr int kOpenRandom = 0x0010;
constexpr int kOpenSequential = 0x0020;
constexpr int kOpenTemporary = 0x0040;
constexpr int kOpenCreate = 0x0100;
constexpr int kOpenTruncate = 0x0200;
constexpr int kOpenExclusive = 0x0400;
constexpr int kOpenShortLived = 0x1000;

// Keeps the code of a failed system call; a call that failed without one
// leaves the earlier code in place.
void RecordError() {
  const DWORD error = GetLastError();
  if (error != 0) CabLastError = static_cast<int32_t>(error);
}

HANDLE AsHandle(INT_PTR hf) { return reinterpret_cast<HANDLE>(hf); }

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

TCabOpenMode CabOpenMode(int oflag) {
  TCabOpenMode mode;
  const int access = oflag & kOpenAccessMask;
  mode.Access = access == 0 ? GENERIC_READ : access == kOpenWriteOnly ? GENERIC_WRITE : GENERIC_READ | GENERIC_WRITE;

  const bool create = (oflag & kOpenCreate) != 0;
  if ((oflag & kOpenExclusive) && create) mode.Disposition = CREATE_NEW;
  else if ((oflag & kOpenTruncate) && create) mode.Disposition = CREATE_ALWAYS;
  else if (oflag & kOpenTruncate) mode.Disposition = TRUNCATE_EXISTING;
  else if (create) mode.Disposition = OPEN_ALWAYS;
  else mode.Disposition = OPEN_EXISTING;

  mode.FlagsAndAttributes = (oflag & kOpenShortLived) && create ? FILE_ATTRIBUTE_TEMPORARY : FILE_ATTRIBUTE_NORMAL;
  if (oflag & kOpenRandom) mode.FlagsAndAttributes |= FILE_FLAG_RANDOM_ACCESS;
  if (oflag & kOpenSequential) mode.FlagsAndAttributes |= FILE_FLAG_SEQUENTIAL_SCAN;
  if ((oflag & kOpenTemporary) && create) mode.FlagsAndAttributes |= FILE_FLAG_DELETE_ON_CLOSE;
  return mode;
}

void* DIAMONDAPI CabAlloc(ULONG cb) { return std::malloc(cb); }

void DIAMONDAPI CabFree(void* pv) { std::free(pv); }

INT_PTR DIAMONDAPI CabOpen(char* pszFile, int oflag, int /*pmode*/) {
  const TCabOpenMode mode = CabOpenMode(oflag);
  const HANDLE h =
      CreateFileA(pszFile, mode.Access, FILE_SHARE_READ, nullptr, mode.Disposition, mode.FlagsAndAttributes, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    RecordError();
    return -1;
  }
  if ((oflag & kOpenAppend) && SetFilePointer(h, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER) {
    RecordError();
    CloseHandle(h);
    return -1;
  }
  return reinterpret_cast<INT_PTR>(h);
}

UINT DIAMONDAPI CabRead(INT_PTR hf, void* pv, UINT cb) {
  DWORD done = 0;
  if (!ReadFile(AsHandle(hf), pv, cb, &done, nullptr)) {
    RecordError();
    return static_cast<UINT>(-1);
  }
  return done;
}

UINT DIAMONDAPI CabWrite(INT_PTR hf, void* pv, UINT cb) {
  DWORD done = 0;
  if (!WriteFile(AsHandle(hf), pv, cb, &done, nullptr)) {
    RecordError();
    return static_cast<UINT>(-1);
  }
  return done;
}

int DIAMONDAPI CabClose(INT_PTR hf) {
  if (!CloseHandle(AsHandle(hf))) {
    RecordError();
    return -1;
  }
  return 0;
}

LONG DIAMONDAPI CabSeek(INT_PTR hf, LONG dist, int seektype) {
  // The library's origins 0, 1 and 2 are FILE_BEGIN, FILE_CURRENT and FILE_END.
  const DWORD position = SetFilePointer(AsHandle(hf), dist, nullptr, static_cast<DWORD>(seektype));
  if (position == INVALID_SET_FILE_POINTER) {
    RecordError();
    return -1;
  }
  return static_cast<LONG>(position);
}

bool SetExtractedFileInfo(const std::string& path, uint16_t date, uint16_t time, uint16_t attribs) {
  const HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    RecordError();
    return false;
  }
  FILETIME local, utc;
  if (DosDateTimeToFileTime(date, time, &local) && LocalFileTimeToFileTime(&local, &utc))
    SetFileTime(h, &utc, nullptr, &utc);
  CloseHandle(h);
  // Only read-only, hidden, system and archive are taken from the cabinet.
  const DWORD kept = attribs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                FILE_ATTRIBUTE_ARCHIVE);
  SetFileAttributesA(path.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
  return true;
}

bool ForceFolder(const std::string& path) {
  if (path.empty()) return false;
  // A folder that is already there counts as made; otherwise every file of a
  // cabinet would walk up to the root for nothing.
  if (CreateDirectoryA(path.c_str(), nullptr) || IsFolder(path)) return true;
  if (path.size() < 2) return false;
  // The parent ends at the last backslash before the final character, so a
  // trailing backslash does not count.
  const size_t slash = path.rfind('\\', path.size() - 2);
  if (slash == std::string::npos || slash == 0) return false;
  if (!ForceFolder(path.substr(0, slash))) return false;
  return CreateDirectoryA(path.c_str(), nullptr) || IsFolder(path);
}
