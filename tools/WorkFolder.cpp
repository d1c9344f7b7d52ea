#include "tools/WorkFolder.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "foundation/zeClasses.h"

namespace filmwriter {

TWorkFolder::TWorkFolder(const std::string& parent) {
  std::string base = parent.empty() ? SystemTempFolder() : parent;
  if (base.back() != '/') base += '/';
  std::string pattern = base + "zeW_XXXXXX";
  if (!mkdtemp(pattern.data())) throw Exception("Cannot create work folder in " + base);
  FPath = pattern + "/";
}

TWorkFolder::~TWorkFolder() {
  std::error_code ignored;  // a folder that cannot be removed is left behind, not fatal
  std::filesystem::remove_all(FPath, ignored);
}

std::string TWorkFolder::NewName(const std::string& ext) {
  return FPath + "part" + std::to_string(FNextNumber++) + "." + ext;
}

TTempFile::~TTempFile() {
  if (!FPath.empty()) std::remove(FPath.c_str());
}

TTempFile& TTempFile::operator=(TTempFile&& other) noexcept {
  if (this != &other) {
    if (!FPath.empty()) std::remove(FPath.c_str());
    FPath = std::move(other.FPath);
    other.FPath.clear();
  }
  return *this;
}

}  // namespace filmwriter
