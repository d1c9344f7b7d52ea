// Interface texts from a language table, and the film properties text.
#include <gtest/gtest.h>

#include "foundation/zeClasses.h"
#include "shell/FilmProperties.h"
#include "shell/zePStrings.h"

namespace {

TzeStringList Table(const std::string& bytes) {
  TzeStringList t;
  t.LoadFromBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  return t;
}

TEST(InterfaceTexts, MessageTextsTakeNonEmptyValuesOnly) {
  texts::AssignDefaultTexts();
  // Windows-1251 bytes pass through as they are; a ':=' key matches nothing; the
  // first of two equal keys counts; an empty value keeps the default; the last
  // line has no line break.
  const auto table = Table(
      " error =  \xCE\xF8\xE8\xE1\xEA\xE0 \r\n"
      "WrongFile := text\r\n"
      "Warning = First\r\nwarning = Second\r\n"
      "Loading =   \r\n"
      "\r\n"
      "Segments = \xD1\xE5\xE3\xEC\xE5\xED\xF2\xFB");
  texts::ApplyMessageTexts(table);
  EXPECT_EQ(texts::Error, "\xCE\xF8\xE8\xE1\xEA\xE0");
  EXPECT_EQ(texts::WrongFile, "Invalid file format: %s");
  EXPECT_EQ(texts::Warning, "First");
  EXPECT_EQ(texts::Loading, "Loading ...");
  EXPECT_EQ(texts::Segments, "\xD1\xE5\xE3\xEC\xE5\xED\xF2\xFB");
  EXPECT_EQ(texts::CannotOpenFileFmt, "Cannot open file %s");
  texts::AssignDefaultTexts();
}

TEST(InterfaceTexts, MenuTextsMissingFromTheTableBecomeEmpty) {
  texts::AssignDefaultMenuTexts();
  texts::TMenuTexts menu = texts::Menu;
  texts::ReadMenuTexts(Table("File=Datei\r\nPause = \r\nprev = Zur\xFC" "ck"), menu);
  EXPECT_EQ(menu.File, "Datei");
  EXPECT_EQ(menu.Pause, "");  // empty value
  EXPECT_EQ(menu.Play, "");   // no key
  EXPECT_EQ(menu.Prev, "Zur\xFC" "ck");
  EXPECT_EQ(texts::Menu.Play, "Play");  // the defaults themselves are untouched
}

TEST(FilmProperties, TwoSegmentFilmByteForByte) {
  const std::string text = FilmPropertiesText(
      "C:\\Films\\demo.exe", "Segments count: %d",
      {{885, 638, 32, 2, true, "Introduction"}, {885, 638, 32, 2, false, "Second part"}});
  EXPECT_EQ(text,
            "C:\\Films\\demo.exe\r\rSegments count: 2\r\r"
            "[885 x 638 x 32 bit / 2 fps  Sound: mp3]:  Introduction\r"
            "[885 x 638 x 32 bit / 2 fps  Sound:  - ]:  Second part\r");
}

TEST(FilmProperties, ATranslatedCountWithTheWrongPlaceholderRaises) {
  EXPECT_THROW(FilmPropertiesText("x", "Segments: %s", {}), Exception);
}

}  // namespace
