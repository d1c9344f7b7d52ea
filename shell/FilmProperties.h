// The text of the film properties box: the program's path, the segment count,
// and one line per segment with its picture format, frame rate, sound and title.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TPropertiesLine {
  int32_t Width, Height, BitsPerPixel, FrameRate;
  bool Mp3;  // the segment has an MP3 sound file
  std::string Title;
};

// Line breaks are single carriage returns. countFormat is the (translatable)
// "Segments count: %d"; a placeholder that does not fit raises.
std::string FilmPropertiesText(const std::string& programPath, const std::string& countFormat,
                               const std::vector<TPropertiesLine>& lines);
