#include "bench/core/stopwatch.h"

namespace vexmark {

std::uint32_t Stopwatch::Absolute() {
  if (!decided_) {
    decided_ = true;
    std::int64_t frequency = clock_.PerformanceFrequency();
    ticks_per_ms_ = frequency >= 1000 ? frequency / 1000 : 0;
  }
  if (ticks_per_ms_ == 0) return clock_.TickCount();
  return static_cast<std::uint32_t>(clock_.PerformanceCounter() / ticks_per_ms_);
}

std::uint32_t Stopwatch::Lap() {
  std::uint32_t now = Absolute();
  std::uint32_t lap = now - lap_start_;
  lap_start_ = now;
  return lap;
}

}  // namespace vexmark
