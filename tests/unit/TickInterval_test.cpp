// Timer period and resolution from frame rate, ticks per frame and speed.
#include "engine/TickInterval.h"

#include <gtest/gtest.h>

using namespace engine;

TEST(TickInterval, PeriodForRateTicksAndSpeed) {
  struct Case {
    int32_t fps, ticksPerFrame;
    double factor;
    int32_t expected;
  } cases[] = {
      {2, 3, 1, 167},      // 166.67
      {2, 3, 2, 84},       // 83.5 rounds to the even 84
      {2, 3, 0.1, 1670},
      {2, 3, 1000, 1},     // "MAX": 0.167 rounds to 0, at least 1
      {2, 1, 1, 500},
      {0, 1, 1, 100},      // no frame rate
      {8, 1, 1, 125},
      {16, 1, 1, 62},      // 62.5 rounds to the even 62
      {80, 1, 1, 12},      // 12.5 rounds to the even 12
      {255, 3, 1, 1},      // 1.307
      {25, 1, 0.25, 160},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ComputeTickInterval(c.fps, c.ticksPerFrame, c.factor), c.expected)
        << c.fps << " fps, " << c.ticksPerFrame << " ticks, x" << c.factor;
}

TEST(TickInterval, ResolutionIsAQuarterAtLeastOne) {
  EXPECT_EQ(TimerResolutionFor(167), 42);  // 41.75
  EXPECT_EQ(TimerResolutionFor(10), 2);    // 2.5 rounds to the even 2
  EXPECT_EQ(TimerResolutionFor(14), 4);    // 3.5 rounds to the even 4
  EXPECT_EQ(TimerResolutionFor(1), 1);     // 0.25 rounds to 0, at least 1
}
