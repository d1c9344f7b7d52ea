// TzeCabReader and the notification handler through which the cabinet library
// hands over the files it extracts.
#include "film/zeCab.h"

#include <vector>

#include "film/CabIntf.h"
#include "film/CabTable.h"
#include "film/zeCabConsts.h"

namespace {

constexpr int kOpenBinary = 0x8000;
// Write access, OPEN_ALWAYS, sequential: _O_BINARY | _O_CREAT | _O_WRONLY | _O_SEQUENTIAL.
constexpr int kOpenTarget = 0x8121;
constexpr int kTargetPermissions = 0x0180;  // _S_IREAD | _S_IWRITE
constexpr int32_t kThisCabinetOnly = 0x0001;

std::string Str(const char* text) { return text != nullptr ? std::string(text) : std::string(); }

std::string FullPath(const std::string& name) {
  const DWORD size = GetFullPathNameA(name.c_str(), 0, nullptr, nullptr);
  if (size == 0) return name;
  std::vector<char> buffer(size + 1);
  const DWORD n = GetFullPathNameA(name.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  return n == 0 || n >= buffer.size() ? name : std::string(buffer.data(), n);
}

INT_PTR OnCabinetInfo(TzeCabReader& reader, const FDINOTIFICATION& n) {
  // A next cabinet is only looked for beside this one, never along a path
  // the file itself chose.
  const std::string next = Str(n.psz1);
  reader.NextCabinet = IsSafeCabEntryName(next) ? JoinPath({Str(n.psz3), next}) : std::string();
  return 0;
}

INT_PTR OnCopyFile(TzeCabReader& reader, const FDINOTIFICATION& n) {
  const std::string name = Str(n.psz1);
  // A name that would land outside the destination folder stops the copy,
  // as a target that cannot be created does.
  if (!IsSafeCabEntryName(name)) return -1;
  const std::string target = JoinPath({reader.DestFolder, name});
  ForceFolder(FolderPart(target));
  const DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesA(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  std::vector<char> path(target.begin(), target.end());
  path.push_back('\0');
  const INT_PTR hf = CabOpen(path.data(), kOpenTarget, kTargetPermissions);
  if (hf == -1) return -1;
  reader.OpenNames.Add(name);
  reader.OpenPaths.Add(target);
  reader.OpenSizes.push_back(n.cb);
  return hf;
}

INT_PTR OnCloseFile(TzeCabReader& reader, const FDINOTIFICATION& n) {
  // The target is opened without truncation, so an older, longer file of the
  // same name would keep its tail: cut it where the new contents end.
  const HANDLE h = reinterpret_cast<HANDLE>(n.hf);
  const DWORD written = SetFilePointer(h, 0, nullptr, FILE_CURRENT);
  SetEndOfFile(h);
  CabClose(n.hf);
  const int32_t index = reader.OpenNames.IndexOf(Str(n.psz1));
  if (index >= 0) {
    const std::string path = reader.OpenPaths.Get(index);
    const int32_t size = reader.OpenSizes[static_cast<size_t>(index)];
    reader.OpenNames.Delete(index);
    reader.OpenPaths.Delete(index);
    reader.OpenSizes.erase(reader.OpenSizes.begin() + index);
    // The library also closes a file it gave up on half way (bad data, a
    // missing next cabinet): a cut file must not pass for an extracted one.
    if (written != static_cast<DWORD>(size)) DeleteFileA(path.c_str());
    else SetExtractedFileInfo(path, n.date, n.time, n.attribs);
  }
  return 1;
}

INT_PTR OnNextCabinet(TzeCabReader& reader, const FDINOTIFICATION& n) {
  const std::string next = Str(n.psz1);
  if (!IsSafeCabEntryName(next)) return -1;
  reader.ResumeCabinet = JoinPath({Str(n.psz3), next});
  reader.ResumeRequested = true;
  // A second request with an error means the cabinet offered was missing or
  // wrong; giving up ends the copy instead of asking again.
  return n.fdie != FDIERROR_NONE ? -1 : 0;
}

}  // namespace

INT_PTR DIAMONDAPI CabNotify(FDINOTIFICATIONTYPE fdint, PFDINOTIFICATION pfdin) {
  CabLastError = 0;
  try {
    TzeCabReader& reader = *static_cast<TzeCabReader*>(pfdin->pv);
    switch (fdint) {
      case fdintCABINET_INFO: return OnCabinetInfo(reader, *pfdin);
      case fdintCOPY_FILE: return OnCopyFile(reader, *pfdin);
      case fdintCLOSE_FILE_INFO: return OnCloseFile(reader, *pfdin);
      case fdintNEXT_CABINET: return OnNextCabinet(reader, *pfdin);
      default: return 0;  // a file begun in an earlier cabinet, or an enumeration step
    }
  } catch (...) {
    return -1;  // the library is C code: nothing may be thrown through it
  }
}

TzeCabReader::TzeCabReader() = default;

TzeCabReader::~TzeCabReader() {
  try {
    DestroyContext();
  } catch (...) {
    // A context the library cannot free is lost; a destructor has nobody to tell.
  }
}

HFDI TzeCabReader::GetContext() {
  if (FContext == nullptr) {
    Erf = {};
    FContext = FDICreate(CabAlloc, CabFree, CabOpen, CabRead, CabWrite, CabClose, CabSeek, cpuUNKNOWN, &Erf);
    Check(FContext != nullptr);
  }
  return FContext;
}

void TzeCabReader::DestroyContext() {
  if (FContext == nullptr) return;
  const HFDI context = FContext;
  FContext = nullptr;
  Check(FDIDestroy(context) != FALSE);
}

void TzeCabReader::Check(bool ok) {
  if (ok) return;
  Erf.erfType = CabLastError;
  throw EzeCabinet(Erf, false);
}

bool TzeCabReader::IsCabinet(const std::string& path, FDICABINETINFO& info) {
  const HFDI context = GetContext();
  std::vector<char> name(path.begin(), path.end());
  name.push_back('\0');
  const INT_PTR hf = CabOpen(name.data(), kOpenBinary, 0);
  if (hf == -1) throw Exception(OSErrorMessage(static_cast<int32_t>(GetLastError())));
  const BOOL result = FDIIsCabinet(context, hf, &info);
  CabClose(hf);
  return result != FALSE;
}

bool TzeCabReader::ListFiles(const std::string& cabinet, TCabListProc proc) {
  FDICABINETINFO info;
  if (!IsCabinet(cabinet, info)) return false;
  TzeFileStream stream(cabinet, OpenReadDenyWrite);
  const TCabTableResult result = WalkCabFileTable(stream, [&](const TCabFileEntry& e, bool& abort) {
    if (proc != nullptr) proc(*this, e.Name, e.Size, e.Folder, e.Date, e.Time, e.Attribs, abort);
  });
  switch (result) {
    case TCabTableResult::Ok: return true;
    case TCabTableResult::BadSignature: throw Exception(CabErrorText(FDIERROR_NOT_A_CABINET, false));
    case TCabTableResult::BadPosition: throw Exception(CabSetPositionText());
    case TCabTableResult::UnterminatedName: throw Exception(CabErrorText(FDIERROR_CORRUPT_CABINET, false));
  }
  return true;
}

void TzeCabReader::ExtractFiles(const std::string& cabinet, const std::string& destFolder, int32_t options) {
  CabinetFile = FullPath(cabinet);
  DestFolder = destFolder;
  if (DestFolder.empty() || DestFolder.back() != '\\') DestFolder += '\\';
  OpenNames.Clear();
  OpenPaths.Clear();
  OpenSizes.clear();

  // Every cabinet is read once at most: a set whose names lead back to one
  // already read (itself, or round in a circle) ends there.
  std::vector<std::string> visited;
  std::string current = CabinetFile;
  while (!current.empty()) {
    visited.push_back(current);
    NextCabinet.clear();
    ResumeCabinet.clear();
    ResumeRequested = false;
    std::string name = NamePart(current);
    std::string folder = FolderPart(current);
    FDICopy(GetContext(), &name[0], &folder[0], 0, CabNotify, nullptr, this);
    DiscardUnfinishedFiles();

    std::string next = ResumeRequested ? ResumeCabinet : NextCabinet;
    if (options & kThisCabinetOnly) next.clear();
    for (const std::string& seen : visited)
      if (!next.empty() && AnsiSameText(seen, next)) next.clear();
    if (!next.empty() && !FileExists(next)) next.clear();
    current = next;
  }
}

void TzeCabReader::DiscardUnfinishedFiles() {
  // A file the library never announced as closed was cut short as well.
  for (int32_t i = 0; i < OpenPaths.Count(); ++i) DeleteFileA(OpenPaths.Get(i).c_str());
  OpenNames.Clear();
  OpenPaths.Clear();
  OpenSizes.clear();
}
