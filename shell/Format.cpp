#include "shell/Format.h"

#include <cstdio>
#include <vector>

#include "foundation/Exception.h"

namespace {

[[noreturn]] void Invalid(const std::string& pattern) {
  throw Exception("Format '" + pattern + "' invalid or incompatible with argument");
}

std::string Pad(std::string text, size_t width, bool left) {
  if (text.size() < width) text.insert(left ? text.end() : text.begin(), width - text.size(), ' ');
  return text;
}

}  // namespace

std::string Format(const std::string& pattern, std::initializer_list<TFormatArg> list) {
  const std::vector<TFormatArg> args(list);
  std::string out;
  size_t next = 0;  // index of the next argument
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') {
      out += pattern[i];
      continue;
    }
    if (++i >= pattern.size()) Invalid(pattern);
    if (pattern[i] == '%') {
      out += '%';
      continue;
    }
    bool left = false;
    if (pattern[i] == '-') {
      left = true;
      if (++i >= pattern.size()) Invalid(pattern);
    }
    size_t width = 0, precision = 0;
    bool hasPrecision = false;
    while (i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9' && width < 1000) width = width * 10 + (pattern[i++] - '0');
    if (i < pattern.size() && pattern[i] == '.') {
      hasPrecision = true;
      ++i;
      while (i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9' && precision < 1000)
        precision = precision * 10 + (pattern[i++] - '0');
    }
    if (i >= pattern.size() || next >= args.size()) Invalid(pattern);
    const TFormatArg& arg = args[next++];
    std::string text;
    switch (pattern[i] | 0x20) {  // conversion letters in either case
      case 'd':
      case 'u': {
        if (!arg.IsInt()) Invalid(pattern);
        const bool negative = arg.Int() < 0;
        text = std::to_string(negative ? -arg.Int() : arg.Int());
        if (hasPrecision && text.size() < precision) text.insert(0, precision - text.size(), '0');
        if (negative) text.insert(0, 1, '-');
        break;
      }
      case 'x': {
        if (!arg.IsInt()) Invalid(pattern);
        char hex[24];
        std::snprintf(hex, sizeof hex, (pattern[i] == 'X') ? "%llX" : "%llx",
                      static_cast<unsigned long long>(arg.Int() & 0xFFFFFFFFll));
        text = hex;
        if (hasPrecision && text.size() < precision) text.insert(0, precision - text.size(), '0');
        break;
      }
      case 's':
        if (arg.IsInt()) Invalid(pattern);
        text = arg.String();
        if (hasPrecision && text.size() > precision) text.resize(precision);
        break;
      default:
        Invalid(pattern);
    }
    out += Pad(text, width, left);
  }
  return out;
}
