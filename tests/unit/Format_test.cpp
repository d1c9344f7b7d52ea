// The checked formatter: what it fills in, and that a placeholder that does not
// fit its argument raises instead of reading garbage.
#include "shell/Format.h"

#include <gtest/gtest.h>

#include "foundation/Exception.h"

TEST(Format, FillsPlaceholders) {
  EXPECT_EQ(Format("Segment %d need vaRorivi of other version to play\r", {2}),
            "Segment 2 need vaRorivi of other version to play\r");
  EXPECT_EQ(Format("Cannot open file %s", {"C:\\a b.zef"}), "Cannot open file C:\\a b.zef");
  EXPECT_EQ(Format("%5d|%-5d|%.3d|%x|%X", {42, 42, 7, 255, 255}), "   42|42   |007|ff|FF");
  EXPECT_EQ(Format("%.2s|%4s|100%%", {"abc", "ab"}), "ab|  ab|100%");
  EXPECT_EQ(Format("%d", {-5}), "-5");
  EXPECT_EQ(Format("no placeholder", {1}), "no placeholder");  // unused arguments are fine
}

TEST(Format, MismatchesRaise) {
  struct Case {
    const char* pattern;
    bool stringArg;
  } cases[] = {
      {"%s", false},  // a number where a string is wanted
      {"%d", true},   // a string where a number is wanted
      {"%d %d", false},  // more placeholders than arguments
      {"%q", false},  // unknown conversion
      {"ends in %", false},
  };
  for (const Case& c : cases) {
    if (c.stringArg)
      EXPECT_THROW(Format(c.pattern, {"x"}), Exception) << c.pattern;
    else
      EXPECT_THROW(Format(c.pattern, {1}), Exception) << c.pattern;
  }
}
