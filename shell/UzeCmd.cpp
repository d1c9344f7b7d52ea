// The command line: film file name, window size and position, start segment,
// close on finish. Portable; the Windows side supplies the arguments and boxes.
#include "shell/UzeCmd.h"

#include <algorithm>
#include <limits>

TCmdSettings Cmd;

const char CmdUsageCaption[] = "vaRorivi command line";
const char CmdUsageText[] =
    "\"FileName.exe\" [-size {FULLSCREEN|MAX|MIN|{w h}} [-pos {C|{{L|R|x} {T|B|y}}}]] [-segm N] "
    "[-closeonfinish]\r"
    "\r"
    "fullscreen - Full Screen mode\r"
    "max - Maximized\r"
    "min - 600 x 400\r"
    "w h - Width Height\r"
    "\r"
    "c - in the Center of the screen\r"
    "\r"
    "L - Left side of screen\r"
    "R - Right side of screen\r"
    "x - Left\r"
    "\r"
    "T - Top side of screen\r"
    "B - Bottom side of screen\r"
    "y - Top\r"
    "\r"
    "N - Start with segment Number = N\r"
    "\r"
    "CloseOnFinish - Close On Finish";

void TCmdHost::LowerCase(std::string& text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

namespace {

// The word each state expects next.
enum TCmdState : uint8_t { stOption, stLeft, stTop, stSize, stHeight, stSegment };

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Leading blanks, an optional sign, then decimal digits or hexadecimal ones
// after "$" or "0x"; the value must fit in 32 signed bits.
bool ReadNumber(const std::string& text, int32_t& value) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return false;
  const int64_t limit = negative ? -int64_t{std::numeric_limits<int32_t>::min()} : std::numeric_limits<int32_t>::max();
  int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i]);
    if (digit < 0 || digit >= base) return false;
    magnitude = magnitude * base + digit;
    if (magnitude > limit) return false;
  }
  value = static_cast<int32_t>(negative ? -magnitude : magnitude);
  return true;
}

// Screen minus window can leave 32 bits when the window size given is extreme
// ("/size -2147483648 1 /pos r"): take the exact difference, held to the range.
int32_t Difference(int32_t a, int32_t b) {
  const int64_t d = int64_t{a} - b;
  return static_cast<int32_t>(std::clamp<int64_t>(d, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// Half the difference, truncated toward zero, always fits.
int32_t HalfDifference(int32_t a, int32_t b) { return static_cast<int32_t>((int64_t{a} - b) / 2); }

}  // namespace

void ParseCommandLine(const std::vector<std::string>& args, int32_t screenWidth, int32_t screenHeight,
                      TCmdHost& host, TCmdSettings& settings) {
  TCmdSettings defaults;
  defaults.FileName = settings.FileName;
  defaults.CloseOnFinish = settings.CloseOnFinish;
  settings = defaults;
  if (args.empty()) return;

  TCmdSettings& s = settings;
  auto number = [&host](const std::string& arg, int32_t& target) {
    if (ReadNumber(arg, target)) return true;
    host.ShowWrongCommandLine();
    return false;
  };
  TCmdState state = stOption;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    host.LowerCase(arg);
    switch (state) {
      case stOption:
        if (!arg.empty() && arg[0] == '-') arg[0] = '/';
        if (arg.empty() || arg[0] != '/') {
          if (i == 0) s.FileName = arg;  // any later non-option is ignored
        } else if (arg == "/closeonfinish") {
          s.CloseOnFinish = true;
        } else if (arg == "/size") {
          state = stSize;
        } else if (arg == "/pos") {
          state = stLeft;
        } else if (arg == "/segm") {
          state = stSegment;
        } else if (arg == "/?" || arg == "/help") {
          host.ShowUsage();
        }
        break;
      case stLeft:
        if (arg == "c") {
          // Both coordinates at once: no vertical word follows.
          s.Left = HalfDifference(screenWidth, s.Width);
          s.Top = HalfDifference(screenHeight, s.Height);
          state = stOption;
          break;
        }
        if (arg == "l") s.Left = 0;
        else if (arg == "r") s.Left = Difference(screenWidth, s.Width);
        else if (!number(arg, s.Left)) return;
        state = stTop;
        break;
      case stTop:
        if (arg == "t") s.Top = 0;
        else if (arg == "b") s.Top = Difference(screenHeight, s.Height);
        else if (!number(arg, s.Top)) return;
        state = stOption;
        break;
      case stSize:
        state = stOption;
        if (arg == "fullscreen") {
          s.FullScreen = true;
          s.WindowMode = wmNormal;
        } else if (arg == "max") {
          s.WindowMode = wmMaximized;
        } else if (arg == "min") {
          s.WindowMode = wmNormal;
          s.Width = 600;
          s.Height = 400;
        } else {
          s.WindowMode = wmNormal;
          if (!number(arg, s.Width)) return;
          state = stHeight;
        }
        break;
      case stHeight:
        if (!number(arg, s.Height)) return;
        // A size equal to the screen means full screen; any other clears it.
        s.FullScreen = s.Width == screenWidth && s.Height == screenHeight;
        state = stOption;
        break;
      case stSegment:
        if (!number(arg, s.Segment)) return;
        state = stOption;
        break;
    }
  }

  // In this order: on a screen smaller than the window the last step wins and
  // the position ends up negative.
  s.Left = std::max(s.Left, 0);
  s.Top = std::max(s.Top, 0);
  s.Width = std::max(s.Width, 600);
  s.Height = std::max(s.Height, 400);
  s.Left = std::min(s.Left, Difference(screenWidth, s.Width));
  s.Top = std::min(s.Top, Difference(screenHeight, s.Height));
}

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < commandLine.size()) {
    while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
    if (i == commandLine.size()) break;
    std::string word;
    bool quoted = false;
    for (; i < commandLine.size() && (quoted || !IsBlank(commandLine[i])); ++i) {
      if (commandLine[i] == '"') quoted = !quoted;
      else word += commandLine[i];
    }
    if (!word.empty()) words.push_back(word);
  }
  return words;
}
