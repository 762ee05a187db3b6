// The benchmark's millisecond clock on the performance counter, or on the tick count where the
// system has no such counter (the first use decides).
#pragma once
#include <cstdint>

#include "platform/sync.h"

namespace vexmark {

class Stopwatch {
 public:
  explicit Stopwatch(platform::Clock& clock) : clock_(clock) {}
  void Reset() { lap_start_ = Absolute(); }
  std::uint32_t Absolute();
  // Milliseconds since the last Reset or Lap.
  std::uint32_t Lap();

 private:
  platform::Clock& clock_;
  bool decided_ = false;
  std::int64_t ticks_per_ms_ = 0;  // 0: tick count
  std::uint32_t lap_start_ = 0;
};

}  // namespace vexmark
