// The playback clock's arithmetic: the timer period for a segment's frame rate
// and the speed setting, and the timer's resolution.
#pragma once

#include <cstdint>

namespace engine {

constexpr int32_t kSpeedPositions = 9;
constexpr int32_t kNormalSpeedPosition = 3;
extern const double SpeedFactors[kSpeedPositions];  // 0.1 0.25 0.5 1 2 3 5 10 1000

// Milliseconds between ticks: 1000 / fps / ticksPerFrame, then divided by the
// speed factor, each step rounded to the nearest integer (halves to even), at
// least 1. A frame rate of 0 gives 100.
int32_t ComputeTickInterval(int32_t fps, int32_t ticksPerFrame, double speedFactor);

// A quarter of the period, rounded the same way, at least 1.
int32_t TimerResolutionFor(int32_t tickInterval);

// Nearest integer with halves to even, computed in extended precision.
int64_t RoundHalfEven(long double value);

}  // namespace engine
