#include "film/CabIntf.h"

#include "app/TestLog.h"

namespace {

// The order in which the entry points are resolved; the compression ones are
// never called, but a library without them is not the one we expect.
const char* const kEntryNames[] = {"FCICreate", "FCIAddFile", "FCIFlushCabinet", "FCIFlushFolder", "FCIDestroy",
                                   "FDICreate", "FDIIsCabinet", "FDICopy", "FDIDestroy"};
constexpr int kEntryCount = sizeof kEntryNames / sizeof kEntryNames[0];
enum { iFDICreate = 5, iFDIIsCabinet, iFDICopy, iFDIDestroy };

HMODULE CabinetModule = nullptr;
FARPROC Entries[kEntryCount] = {};
bool Bound = false;

void ClearEntries() {
  for (FARPROC& entry : Entries) entry = nullptr;
  Bound = false;
}

// The address as the function type <fdi.h> declares for that entry, or null
// while the library is not bound.
template <class F>
F Entry(int index) {
  return Bound ? reinterpret_cast<F>(reinterpret_cast<void (*)()>(Entries[index])) : nullptr;
}

struct TUnloadAtExit {
  ~TUnloadAtExit() { UnloadCabinetDll(); }
} unloadAtExit;

}  // namespace

void LoadCabinetDll(const char* libraryName) {
  UnloadCabinetDll();
  CabinetModule = LoadLibraryA(libraryName);
  if (CabinetModule == nullptr) {
    ShowMessageBox(nullptr, "Cabinet.dll not found", "Error", MB_OK);
    return;
  }
  try {
    bool complete = true;
    for (int i = 0; i < kEntryCount; ++i) {
      Entries[i] = GetProcAddress(CabinetModule, kEntryNames[i]);
      if (Entries[i] == nullptr) complete = false;
    }
    if (!complete) {
      // Some addresses may be valid, but a half-bound library is never called.
      ClearEntries();
      ShowMessageBox(nullptr, "Cabinet.dll is invalid", "Error", MB_OK);
      return;
    }
    Bound = true;
  } catch (...) {
    FreeLibrary(CabinetModule);
    CabinetModule = nullptr;
    ClearEntries();
    throw;
  }
}

void UnloadCabinetDll() {
  ClearEntries();
  if (CabinetModule != nullptr) FreeLibrary(CabinetModule);
  CabinetModule = nullptr;
}

bool CabinetDllLoaded() { return CabinetModule != nullptr; }
bool CabinetDllBound() { return Bound; }

HFDI DIAMONDAPI FDICreate(PFNALLOC pfnalloc, PFNFREE pfnfree, PFNOPEN pfnopen, PFNREAD pfnread, PFNWRITE pfnwrite,
                          PFNCLOSE pfnclose, PFNSEEK pfnseek, int cpuType, PERF perf) {
  if (CabinetModule == nullptr) LoadCabinetDll();
  const auto create = Entry<decltype(&FDICreate)>(iFDICreate);
  return create ? create(pfnalloc, pfnfree, pfnopen, pfnread, pfnwrite, pfnclose, pfnseek, cpuType, perf) : nullptr;
}

WINBOOL DIAMONDAPI FDIIsCabinet(HFDI hfdi, INT_PTR hf, PFDICABINETINFO pfdici) {
  const auto isCabinet = Entry<decltype(&FDIIsCabinet)>(iFDIIsCabinet);
  return isCabinet ? isCabinet(hfdi, hf, pfdici) : FALSE;
}

WINBOOL DIAMONDAPI FDICopy(HFDI hfdi, char* pszCabinet, char* pszCabPath, int flags, PFNFDINOTIFY pfnfdin,
                           PFNFDIDECRYPT pfnfdid, void* pvUser) {
  const auto copy = Entry<decltype(&FDICopy)>(iFDICopy);
  return copy ? copy(hfdi, pszCabinet, pszCabPath, flags, pfnfdin, pfnfdid, pvUser) : FALSE;
}

WINBOOL DIAMONDAPI FDIDestroy(HFDI hfdi) {
  const auto destroy = Entry<decltype(&FDIDestroy)>(iFDIDestroy);
  return destroy ? destroy(hfdi) : FALSE;
}
