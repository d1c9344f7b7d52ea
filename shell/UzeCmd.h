// Settings taken from the command line, with the values they have when the
// command line gives none, and the parser that fills them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum TCmdWindowMode : int32_t { wmNormal = 0, wmMaximized = 2 };

struct TCmdSettings {
  std::string FileName;  // film file to open in place of the executable; empty: none
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 600;
  int32_t Height = 400;
  int32_t Segment = 1;  // 1-based segment to start with
  int32_t WindowMode = wmNormal;
  bool FullScreen = false;
  bool CloseOnFinish = false;
};

extern TCmdSettings Cmd;

// The usage box, shown for "/?" and "/help". Lines are separated by CR alone.
extern const char CmdUsageCaption[];
extern const char CmdUsageText[];

// What a parse needs from the system: its lower-casing and the two message boxes.
class TCmdHost {
 public:
  virtual ~TCmdHost() = default;
  // ASCII only; the Windows side uses the ANSI code page's rules.
  virtual void LowerCase(std::string& text);
  virtual void ShowUsage() = 0;
  // A number could not be read; the parse stops after this.
  virtual void ShowWrongCommandLine() = 0;
};

// Fills `settings` from the arguments (the program itself not among them) for a
// screen of the given size. FileName and CloseOnFinish keep what they had unless
// an argument sets them; everything else starts from its default.
void ParseCommandLine(const std::vector<std::string>& args, int32_t screenWidth, int32_t screenHeight,
                      TCmdHost& host, TCmdSettings& settings);

// Splits a command line into its words, the program first: words are separated
// by blanks, double quotes group blanks into a word and are removed, and a word
// of nothing but quotes is no word. Backslashes are plain characters.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// Windows side (UzeCmdWin.cpp): fills `Cmd` from the program's command line and
// the screen's size, and shows the boxes.
void ParseCommandLine();
// The same for a given command line, program first (tests).
void ParseCommandLineFrom(const std::string& commandLine);
