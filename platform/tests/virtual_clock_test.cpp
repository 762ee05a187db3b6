#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/sim/sim_sync.h"

namespace platform::sim {
namespace {

TEST(VirtualClock, MovesOnlyByAdvanceAndSleep) {
  VirtualClock clock(1000);
  EXPECT_EQ(clock.TickCount(), 1000u);
  EXPECT_EQ(clock.TickCount(), 1000u);
  clock.Advance(250);
  EXPECT_EQ(clock.TickCount(), 1250u);
  clock.Sleep(5000);  // returns at once, the virtual time has passed
  EXPECT_EQ(clock.TickCount(), 6250u);
  clock.Sleep(0);
  EXPECT_EQ(clock.TickCount(), 6250u);
}

TEST(VirtualClock, TickCountWrapsAt32BitsWhileTheCounterKeepsGrowing) {
  VirtualClock clock(0xFFFFFFF0u);
  const uint32_t tick_before = clock.TickCount();
  const int64_t counter_before = clock.PerformanceCounter();
  clock.Advance(0x20);
  EXPECT_EQ(clock.TickCount(), 0x10u);
  EXPECT_EQ(static_cast<uint32_t>(clock.TickCount() - tick_before), 0x20u);
  EXPECT_EQ(clock.PerformanceCounter() - counter_before, 0x20 * 10'000);
  // A full turn of the tick count brings it back to the same value.
  clock.Advance(0xFFFFFFFFu);
  clock.Advance(1);
  EXPECT_EQ(clock.TickCount(), 0x10u);
  EXPECT_GT(clock.PerformanceCounter(), counter_before + int64_t{0xFFFFFFFF} * 10'000);
}

TEST(VirtualClock, CounterRunsAtTenMegahertz) {
  VirtualClock clock;
  EXPECT_EQ(clock.PerformanceFrequency(), 10'000'000);
  const int64_t start = clock.PerformanceCounter();
  clock.Advance(1500);
  EXPECT_EQ(clock.PerformanceCounter() - start, clock.PerformanceFrequency() * 3 / 2);
}

TEST(VirtualClock, AdvancesFromSeveralThreadsAllCount) {
  VirtualClock clock;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 1000; ++i) clock.Sleep(1);
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(clock.TickCount(), 4000u);
}

}  // namespace
}  // namespace platform::sim
