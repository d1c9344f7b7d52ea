// Format: fills a pattern's placeholders (%d %u %x %s %%, with optional '-',
// width and precision) from a list of arguments, checking each placeholder
// against its argument. Patterns may come from a translated language table, so
// a placeholder that does not fit raises an Exception instead of reading garbage.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

class TFormatArg {
 public:
  TFormatArg(int32_t v) : FKind(kInt), FInt(v) {}
  TFormatArg(int64_t v) : FKind(kInt), FInt(v) {}
  TFormatArg(const std::string& s) : FKind(kString), FString(s) {}
  TFormatArg(const char* s) : FKind(kString), FString(s) {}

  bool IsInt() const { return FKind == kInt; }
  int64_t Int() const { return FInt; }
  const std::string& String() const { return FString; }

 private:
  enum { kInt, kString } FKind;
  int64_t FInt = 0;
  std::string FString;
};

std::string Format(const std::string& pattern, std::initializer_list<TFormatArg> args);
