#include "engine/TickInterval.h"

#include <cmath>

namespace engine {

const double SpeedFactors[kSpeedPositions] = {0.1, 0.25, 0.5, 1, 2, 3, 5, 10, 1000};

int64_t RoundHalfEven(long double value) { return static_cast<int64_t>(std::nearbyintl(value)); }

int32_t ComputeTickInterval(int32_t fps, int32_t ticksPerFrame, double speedFactor) {
  if (fps <= 0 || ticksPerFrame <= 0) return 100;
  int64_t interval = RoundHalfEven(1000.0L / fps / ticksPerFrame);
  if (speedFactor > 0) interval = RoundHalfEven(static_cast<long double>(interval) / speedFactor);
  return interval < 1 ? 1 : static_cast<int32_t>(interval);
}

int32_t TimerResolutionFor(int32_t tickInterval) {
  const int64_t r = RoundHalfEven(tickInterval / 4.0L);
  return r < 1 ? 1 : static_cast<int32_t>(r);
}

}  // namespace engine
