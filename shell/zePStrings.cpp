#include "shell/zePStrings.h"

namespace texts {

std::string Error, Loading, InvalidVersionFormat, Warning, SegmentCountFmt, WrongFile, WrongDisplaySettings,
    CannotOpenFileFmt, CannotCreateTempFile, VideoDecompressorError, Segments, FilmProperties, LlseekError,
    SegmentDamagedFormat;

void AssignDefaultTexts() {
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
}

}  // namespace texts
