#include "shell/FilmProperties.h"

#include "shell/Format.h"

std::string FilmPropertiesText(const std::string& programPath, const std::string& countFormat,
                               const std::vector<TPropertiesLine>& lines) {
  std::string text = Format("%s\r\r" + countFormat + "\r\r", {programPath, static_cast<int32_t>(lines.size())});
  for (const TPropertiesLine& l : lines)
    text += Format("[%d x %d x %d bit / %d fps  Sound: %s]:  %s\r",
                   {l.Width, l.Height, l.BitsPerPixel, l.FrameRate, l.Mp3 ? "mp3" : " - ", l.Title});
  return text;
}
