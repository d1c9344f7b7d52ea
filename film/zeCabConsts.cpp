#include "film/zeCabConsts.h"

#include <windows.h>

#include "resources/zeCabConstsIds.h"

namespace {

std::string LoadResourceString(UINT id) {
  char text[256];
  const int n = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
  return std::string(text, n > 0 ? static_cast<size_t>(n) : 0);
}

}  // namespace

std::string CabErrorText(int code, bool isFCI) {
  const int last = isFCI ? IDS_FCI_LAST - IDS_FCI_BASE : IDS_FDI_LAST - IDS_FDI_BASE;
  if (code < 0 || code > last) return LoadResourceString(isFCI ? IDS_FCI_OTHER : IDS_FDI_OTHER);
  return LoadResourceString(static_cast<UINT>((isFCI ? IDS_FCI_BASE : IDS_FDI_BASE) + code));
}

std::string CabGeneralErrorText(bool isFCI) { return LoadResourceString(isFCI ? IDS_FCI_OTHER : IDS_FDI_OTHER); }

std::string CabSetPositionText() { return LoadResourceString(IDS_CAB_SETPOSITION); }
