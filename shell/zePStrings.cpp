#include "shell/zePStrings.h"

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

}  // namespace texts
