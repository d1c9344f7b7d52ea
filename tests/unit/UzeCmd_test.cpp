// The command-line parser: words in their states, numbers, the error that stops
// the parse, the limits and their order; the splitting of a command line.
#include "shell/UzeCmd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Notes the boxes asked for, in order: "usage", "wrong".
class TRecordingHost : public TCmdHost {
 public:
  std::string Boxes;
  void ShowUsage() override { Note("usage"); }
  void ShowWrongCommandLine() override { Note("wrong"); }

 private:
  void Note(const char* box) {
    if (!Boxes.empty()) Boxes += ' ';
    Boxes += box;
  }
};

// "left,top widthxheight segm N", then " max", " full", " close", " file NAME" when set.
std::string Describe(const TCmdSettings& s) {
  std::string text = std::to_string(s.Left) + "," + std::to_string(s.Top) + " " + std::to_string(s.Width) + "x" +
                     std::to_string(s.Height) + " segm " + std::to_string(s.Segment);
  if (s.WindowMode != wmNormal) text += s.WindowMode == wmMaximized ? " max" : " mode " + std::to_string(s.WindowMode);
  if (s.FullScreen) text += " full";
  if (s.CloseOnFinish) text += " close";
  if (!s.FileName.empty()) text += " file " + s.FileName;
  return text;
}

std::string Join(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& w : words) text += "[" + w + "]";
  return text;
}

}  // namespace

TEST(UzeCmd, ParsesArguments) {
  struct Case {
    std::vector<std::string> args;
    int32_t screenWidth, screenHeight;
    const char* expected;  // as Describe writes it
    const char* boxes;
  } cases[] = {
      // Defaults, file name, the words of each state.
      {{}, 1024, 768, "0,0 600x400 segm 1", ""},
      {{}, 500, 300, "0,0 600x400 segm 1", ""},  // nothing given: no limits either
      {{"Film.ZEF"}, 1024, 768, "0,0 600x400 segm 1 file film.zef", ""},
      {{"FILM\xC4.ZEF"}, 1024, 768, "0,0 600x400 segm 1 file film\xC4.zef", ""},  // ASCII lower-casing here
      {{"a.zef", "b.zef"}, 1024, 768, "0,0 600x400 segm 1 file a.zef", ""},  // a second non-option is ignored
      {{"/closeonfinish", "film.zef"}, 1024, 768, "0,0 600x400 segm 1 close", ""},  // not first: ignored
      {{"-Film.zef"}, 1024, 768, "0,0 600x400 segm 1", ""},  // "-" makes it an (unknown) option
      {{"-SIZE", "800", "600", "-POS", "R", "B"}, 1024, 768, "224,168 800x600 segm 1", ""},
      {{"/size", "1024", "768"}, 1024, 768, "0,0 1024x768 segm 1 full", ""},  // the screen's size
      {{"/size", "300", "200"}, 1024, 768, "0,0 600x400 segm 1", ""},
      {{"/size", "1024"}, 1024, 768, "0,0 1024x400 segm 1", ""},  // width only
      {{"/size"}, 1024, 768, "0,0 600x400 segm 1", ""},
      {{"/SIZE", "MAX"}, 1024, 768, "0,0 600x400 segm 1 max", ""},
      {{"-Size", "FullScreen"}, 1024, 768, "0,0 600x400 segm 1 full", ""},
      {{"/size", "fullscreen", "/size", "800", "600"}, 1024, 768, "0,0 800x600 segm 1", ""},  // clears full screen
      {{"/size", "max", "/size", "fullscreen"}, 1024, 768, "0,0 600x400 segm 1 full", ""},
      {{"/size", "max", "/size", "800", "600"}, 1024, 768, "0,0 800x600 segm 1", ""},
      {{"/size", "800", "600", "/size", "min"}, 1024, 768, "0,0 600x400 segm 1", ""},
      {{"/size", "fullscreen", "/size", "min"}, 1024, 768, "0,0 600x400 segm 1 full", ""},  // min keeps it
      {{"/pos", "c"}, 1280, 1024, "340,312 600x400 segm 1", ""},
      {{"/pos", "c", "t"}, 1280, 1024, "340,312 600x400 segm 1", ""},  // "c" sets both; "t" is then ignored
      {{"/size", "800", "600", "/pos", "c"}, 1024, 768, "112,84 800x600 segm 1", ""},
      {{"/pos", "c", "/size", "800", "600"}, 1024, 768, "212,168 800x600 segm 1", ""},  // centred for 600x400
      {{"/pos", "l", "b"}, 1024, 768, "0,368 600x400 segm 1", ""},
      {{"/pos", "r", "30"}, 1024, 768, "424,30 600x400 segm 1", ""},
      {{"/pos", "10", "t"}, 1024, 768, "10,0 600x400 segm 1", ""},
      {{"/CloseOnFinish"}, 1024, 768, "0,0 600x400 segm 1 close", ""},
      {{"-closeonfinish"}, 1024, 768, "0,0 600x400 segm 1 close", ""},
      {{"/x", "--size", "max", "/segm", "4"}, 1024, 768, "0,0 600x400 segm 4", ""},  // unknown options
      {{"/help"}, 1024, 768, "0,0 600x400 segm 1", "usage"},
      {{"/?", "/segm", "2", "-HELP"}, 1024, 768, "0,0 600x400 segm 2", "usage usage"},  // parsing goes on

      // The limits, in their order.
      {{"/pos", "-50", "-50"}, 1024, 768, "0,0 600x400 segm 1", ""},
      {{"/pos", "5000", "5000"}, 1024, 768, "424,368 600x400 segm 1", ""},
      {{"/size", "1000", "1000", "/pos", "-5", "-5"}, 1024, 768, "0,-232 1000x1000 segm 1", ""},
      {{"/closeonfinish"}, 500, 300, "-100,-100 600x400 segm 1 close", ""},  // screen smaller than the window

      // Numbers.
      {{"/segm", "+12"}, 1024, 768, "0,0 600x400 segm 12", ""},
      {{"/segm", "-3"}, 1024, 768, "0,0 600x400 segm -3", ""},
      {{"/segm", "0007"}, 1024, 768, "0,0 600x400 segm 7", ""},
      {{"/segm", "$1F"}, 1024, 768, "0,0 600x400 segm 31", ""},
      {{"/segm", "0X1a"}, 1024, 768, "0,0 600x400 segm 26", ""},
      {{"/segm", "-$10"}, 1024, 768, "0,0 600x400 segm -16", ""},
      {{"/segm", "+0x10"}, 1024, 768, "0,0 600x400 segm 16", ""},
      {{"/segm", "  42"}, 1024, 768, "0,0 600x400 segm 42", ""},
      {{"/segm", "\t42"}, 1024, 768, "0,0 600x400 segm 42", ""},
      {{"/segm", "2147483647"}, 1024, 768, "0,0 600x400 segm 2147483647", ""},
      {{"/segm", "$7fffffff"}, 1024, 768, "0,0 600x400 segm 2147483647", ""},
      {{"/segm", "-2147483648"}, 1024, 768, "0,0 600x400 segm -2147483648", ""},
      {{"/segm", "-0x80000000"}, 1024, 768, "0,0 600x400 segm -2147483648", ""},
      {{"/segm", "2147483648"}, 1024, 768, "0,0 600x400 segm 1", "wrong"},
      {{"/segm", "-2147483649"}, 1024, 768, "0,0 600x400 segm 1", "wrong"},
      {{"/segm", "$80000000"}, 1024, 768, "0,0 600x400 segm 1", "wrong"},
      {{"/segm", "000000000000000000099999999999"}, 1024, 768, "0,0 600x400 segm 1", "wrong"},
      {{"/segm", ""}, 1024, 768, "0,0 600x400 segm 1", "wrong"},
      {{"/segm", "   "}, 1024, 768, "0,0 600x400 segm 1", "wrong"},
      {{"/segm", "-"}, 1024, 768, "0,0 600x400 segm 1", "wrong"},
      {{"/segm", "$"}, 1024, 768, "0,0 600x400 segm 1", "wrong"},
      {{"/segm", "0x"}, 1024, 768, "0,0 600x400 segm 1", "wrong"},
      {{"/segm", "x"}, 1024, 768, "0,0 600x400 segm 1", "wrong"},
      {{"/segm", "12a"}, 1024, 768, "0,0 600x400 segm 1", "wrong"},
      {{"/segm", "$1g"}, 1024, 768, "0,0 600x400 segm 1", "wrong"},
      {{"/segm", "42 "}, 1024, 768, "0,0 600x400 segm 1", "wrong"},  // only leading blanks
      {{"/segm", "- 5"}, 1024, 768, "0,0 600x400 segm 1", "wrong"},
      {{"/segm", "--5"}, 1024, 768, "0,0 600x400 segm 1", "wrong"},
      {{"/segm", "0x-5"}, 1024, 768, "0,0 600x400 segm 1", "wrong"},
      {{"/segm", "1.5"}, 1024, 768, "0,0 600x400 segm 1", "wrong"},

      // An error stops the parse: later words unread, no limits.
      {{"/size", "300", "200", "/pos", "-5", "q", "/closeonfinish"}, 1024, 768, "-5,0 300x200 segm 1", "wrong"},
      {{"/size", "1024", "high"}, 1024, 768, "0,0 1024x400 segm 1", "wrong"},
      {{"/size", "big", "/segm", "2"}, 1024, 768, "0,0 600x400 segm 1", "wrong"},
      {{"/pos", "r", "/segm", "2"}, 1024, 768, "424,0 600x400 segm 1", "wrong"},  // an option where a number goes
      {{"/?", "/segm", "x", "/?"}, 1024, 768, "0,0 600x400 segm 1", "usage wrong"},
      {{"/pos", "c", "/segm", "x"}, 501, 301, "-49,-49 600x400 segm 1", "wrong"},  // halves truncate toward zero

      // Extreme sizes: screen minus window taken exactly, held to 32 bits.
      {{"/size", "-2147483648", "1", "/pos", "r", "x"}, 1024, 768, "2147483647,0 -2147483648x1 segm 1", "wrong"},
      {{"/size", "-2147483648", "-2147483648", "/pos", "r", "b"}, 1024, 768, "424,368 600x400 segm 1", ""},
      {{"/size", "-2147483648", "-2147483648", "/pos", "c", "/segm", "x"}, 1024, 768,
       "1073742336,1073742208 -2147483648x-2147483648 segm 1", "wrong"},
  };
  for (const Case& c : cases) {
    // What an earlier parse left behind, except the two settings a parse keeps.
    TCmdSettings settings;
    settings.Left = 11, settings.Top = 12, settings.Width = 13, settings.Height = 14, settings.Segment = 15;
    settings.WindowMode = wmMaximized;
    settings.FullScreen = true;
    TRecordingHost host;
    ParseCommandLine(c.args, c.screenWidth, c.screenHeight, host, settings);
    EXPECT_EQ(Describe(settings), c.expected) << Join(c.args) << " on " << c.screenWidth << "x" << c.screenHeight;
    EXPECT_EQ(host.Boxes, c.boxes) << Join(c.args);
  }
}

TEST(UzeCmd, FileNameAndCloseOnFinishOutliveAParse) {
  TCmdSettings settings;
  settings.FileName = "old.zef";
  settings.CloseOnFinish = true;
  TRecordingHost host;
  ParseCommandLine({}, 1024, 768, host, settings);
  EXPECT_EQ(Describe(settings), "0,0 600x400 segm 1 close file old.zef");
  ParseCommandLine({"/segm", "2"}, 1024, 768, host, settings);
  EXPECT_EQ(Describe(settings), "0,0 600x400 segm 2 close file old.zef");
  ParseCommandLine({"new.zef"}, 1024, 768, host, settings);
  EXPECT_EQ(Describe(settings), "0,0 600x400 segm 1 close file new.zef");
}

TEST(UzeCmd, UsageText) {
  EXPECT_STREQ(CmdUsageCaption, "vaRorivi command line");
  EXPECT_STREQ(CmdUsageText,
               "\"FileName.exe\" [-size {FULLSCREEN|MAX|MIN|{w h}} [-pos {C|{{L|R|x} {T|B|y}}}]] [-segm N] "
               "[-closeonfinish]\r\rfullscreen - Full Screen mode\rmax - Maximized\rmin - 600 x 400\rw h - Width "
               "Height\r\rc - in the Center of the screen\r\rL - Left side of screen\rR - Right side of screen\rx - "
               "Left\r\rT - Top side of screen\rB - Bottom side of screen\ry - Top\r\rN - Start with segment Number "
               "= N\r\rCloseOnFinish - Close On Finish");
}

TEST(UzeCmd, SplitsCommandLine) {
  struct Case {
    const char* line;
    const char* expected;  // words in brackets
  } cases[] = {
      {"", ""},
      {"   \t ", ""},
      {"prog a b", "[prog][a][b]"},
      {"  prog \t a\tb  ", "[prog][a][b]"},
      {"\"C:\\Program Files\\v.exe\" \"D:\\My Films\\x.zef\" /segm 2",
       "[C:\\Program Files\\v.exe][D:\\My Films\\x.zef][/segm][2]"},
      {"prog a\" \"b", "[prog][a b]"},          // quotes anywhere in a word
      {"prog \"a\"\"b\"", "[prog][ab]"},
      {"prog \"\" /size \"\"", "[prog][/size]"},  // a word of nothing but quotes is none
      {"prog \"  \"", "[prog][  ]"},            // blanks inside quotes are a word
      {"prog C:\\dir\\ \"x\"", "[prog][C:\\dir\\][x]"},  // backslashes escape nothing
      {"prog \"open to the end", "[prog][open to the end]"},
  };
  for (const Case& c : cases) EXPECT_EQ(Join(SplitCommandLine(c.line)), c.expected) << c.line;
}
