// Picture rectangles copied to the window: shifted, and scaled with each value
// rounded half to even.
#include "engine/PictureLayout.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(PictureLayout, PictureRectanglesInTheWindow) {
  TPictureLayout unscaled;
  unscaled.PictureLeft = 10;
  unscaled.PictureTop = 20;
  const TWindowRect u = PictureToWindow(unscaled, 100, 200, 32, 32);
  EXPECT_EQ(u.X, 110);
  EXPECT_EQ(u.Y, 220);
  EXPECT_EQ(u.Width, 32);
  EXPECT_EQ(u.Height, 32);

  // 885 x 638 shown in 600 x 360: the scale is 360 / 638 in single precision.
  TPictureLayout scaled;
  scaled.Scaled = true;
  scaled.Scale = std::min(600.0f / 885.0f, 360.0f / 638.0f);
  scaled.PictureLeft = 50;
  scaled.PictureTop = 0;
  const TWindowRect s = PictureToWindow(scaled, 100, 200, 32, 32);
  EXPECT_EQ(s.X, 106);  // 56.43 + 50
  EXPECT_EQ(s.Y, 113);  // 112.85
  EXPECT_EQ(s.Width, 18);
  EXPECT_EQ(s.Height, 18);

  TPictureLayout half;
  half.Scaled = true;
  half.Scale = 0.5f;
  const TWindowRect h = PictureToWindow(half, 5, 7, 3, 1);  // 2.5, 3.5, 1.5, 0.5
  EXPECT_EQ(h.X, 2);
  EXPECT_EQ(h.Y, 4);
  EXPECT_EQ(h.Width, 2);
  EXPECT_EQ(h.Height, 0);
}
