// The cabinet reader's exception and the operating system's error texts.
#include <cstdio>

#include "film/zeCab.h"
#include "film/zeCabConsts.h"

namespace {

// At least four upper-case hexadecimal digits, as in [0x0005].
std::string Hex(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(value));
  return text;
}

}  // namespace

std::string SystemErrorText(int32_t code) {
  char text[256];
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                 static_cast<DWORD>(code), 0, text, sizeof text, nullptr);
  std::string result(text, n);
  while (!result.empty() && (static_cast<unsigned char>(result.back()) < '!' || result.back() == '.'))
    result.pop_back();
  return result;
}

std::string OSErrorMessage(int32_t code) {
  if (code == 0) return "A call to an OS function failed";
  return "System Error.  Code: " + std::to_string(code) + ".\r\n" + SystemErrorText(code);
}

std::string EzeCabinet::MessageFor(const ERF& erf, bool isFCI) {
  if (!erf.fError) return CabGeneralErrorText(isFCI);
  std::string message = CabErrorText(erf.erfOper, isFCI) + " [0x" + Hex(erf.erfOper) + "]";
  if (erf.erfType != 0) message += ".\r\n" + SystemErrorText(erf.erfType) + " [0x" + Hex(erf.erfType) + "].";
  return message;
}

EzeCabinet::EzeCabinet(const ERF& erf, bool isFCI)
    : Exception(MessageFor(erf, isFCI)),
      ErrorCode(erf.erfOper),
      OSError(erf.erfType),
      ErrorPresent(erf.fError != 0),
      IsFCI(isFCI) {}
