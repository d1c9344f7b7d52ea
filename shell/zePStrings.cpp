#include "shell/zePStrings.h"

#include "foundation/zeClasses.h"

namespace texts {

std::string Error, Loading, InvalidVersionFormat, Warning, SegmentCountFmt, WrongFile, WrongDisplaySettings,
    CannotOpenFileFmt, CannotCreateTempFile, VideoDecompressorError, Segments, FilmProperties, LlseekError,
    SegmentDamagedFormat, PictureTooLarge;

TMenuTexts Menu;
const char kMakerSite[] = "http://www.varorivi.example/";
std::string HelpNotice;

void AssignDefaultMenuTexts() {
  Menu = {"File",    "Actions", "View",     "Help",     "Load",         "Properties",         "Exit",        "Play",
          "Pause",   "Stop",    "Segments", "Previous segment", "Next segment", "Show control panel", "Full screen", "About"};
}

void AssignDefaultTexts() {
  HelpNotice = std::string("Documentation is available on author's web site\r") + kMakerSite;
  Error = "Error";
  Loading = "Loading ...";
  InvalidVersionFormat = "Segment %d need vaRorivi of other version to play\r";
  Warning = "Warning";
  SegmentCountFmt = "Segments count: %d";
  WrongFile = "Invalid file format: %s";
  WrongDisplaySettings = "Wrong display settings (%d bit color)";
  CannotOpenFileFmt = "Cannot open file %s";
  CannotCreateTempFile = "Cannot create temporary file";
  VideoDecompressorError = "Video decompressor error";
  Segments = "Segments";
  FilmProperties = "Film properties";
  LlseekError = "_llseek error";
  SegmentDamagedFormat = "Segment %d is damaged\r";
  PictureTooLarge = "Picture too large to play (%d x %d pixels)";
}

void ApplyText(const TzeStringList& table, const std::string& key, std::string& text) {
  const std::string value = table.ValueOf(key);
  if (!value.empty()) text = value;
}

void ApplyMessageTexts(const TzeStringList& table) {
  const std::pair<const char*, std::string*> keys[] = {
      {"Error", &Error},
      {"Loading", &Loading},
      {"InvalidVersionFormat", &InvalidVersionFormat},
      {"Warning", &Warning},
      {"SegmentCountFmt", &SegmentCountFmt},
      {"WrongFile", &WrongFile},
      {"WrongDisplaySettings", &WrongDisplaySettings},
      {"CannotOpenFileFmt", &CannotOpenFileFmt},
      {"CannotCreateTempFile", &CannotCreateTempFile},
      {"VideoDecompressorError", &VideoDecompressorError},
      {"Segments", &Segments},
  };
  for (const auto& k : keys) ApplyText(table, k.first, *k.second);
}

void ReadMenuTexts(const TzeStringList& table, TMenuTexts& menu) {
  const std::pair<const char*, std::string*> keys[] = {
      {"File", &menu.File},     {"Actions", &menu.Actions},       {"View", &menu.View},
      {"Help", &menu.Help},     {"Load", &menu.Load},             {"Properties", &menu.Properties},
      {"Exit", &menu.Exit},     {"Play", &menu.Play},             {"Pause", &menu.Pause},
      {"Stop", &menu.Stop},     {"Segments", &menu.Segments},     {"Prev", &menu.Prev},
      {"Next", &menu.Next},     {"ShowPanel", &menu.ShowPanel},   {"FullScreen", &menu.FullScreen},
      {"About", &menu.About},
  };
  for (const auto& k : keys) *k.second = table.ValueOf(k.first);
}

}  // namespace texts
