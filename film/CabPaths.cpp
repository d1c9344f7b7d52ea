#include "film/CabPaths.h"

#include <cctype>
#include <cstring>

std::string JoinPath(std::initializer_list<std::string> pieces) {
  std::string result;
  for (const std::string& piece : pieces) {
    if (piece.empty()) continue;
    if (!result.empty()) {
      const bool endsWith = result.back() == '\\';
      const bool startsWith = piece.front() == '\\';
      if (endsWith && startsWith) result.pop_back();
      else if (!endsWith && !startsWith) result += '\\';
    }
    result += piece;
  }
  return result;
}

std::string FolderPart(const std::string& path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NamePart(const std::string& path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Windows drops trailing dots and spaces from a component, so "..." and ". ."
// would end up as "." or ".." or nothing.
bool OnlyDotsAndSpaces(const std::string& part) {
  return part.find_first_not_of(". ") == std::string::npos;
}

// Device names stay devices with any extension and in any folder ("sub\nul.txt").
bool IsDeviceName(const std::string& part) {
  std::string base = part.substr(0, part.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
  for (const char* device : kDevices)
    if (base == device) return true;
  // COM and LPT with a digit, superscripts 1 to 3 included (code page 1252).
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         std::strchr("0123456789\xB9\xB2\xB3", base[3]) != nullptr && base[3] != '\0';
}

}  // namespace

bool IsSafeCabEntryName(const std::string& name) {
  if (name.empty() || IsSeparator(name.front())) return false;
  if (name.find(':') != std::string::npos) return false;
  size_t start = 0;
  for (;;) {
    size_t end = start;
    while (end < name.size() && !IsSeparator(name[end])) ++end;
    const std::string part = name.substr(start, end - start);
    if (part.empty() || OnlyDotsAndSpaces(part) || IsDeviceName(part)) return false;
    if (end == name.size()) return true;
    start = end + 1;
  }
}
