// Settings taken from the command line, with the values they have when the
// command line gives none.
#pragma once

#include <cstdint>
#include <string>

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
