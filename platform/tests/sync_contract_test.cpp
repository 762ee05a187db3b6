// Events, waits, threads and the real clock: the host implementation must behave as Windows does.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

#include "sync_subject.h"

namespace platform {
namespace {

using Kind = WaitResult::Kind;

// Only an upper bound for waits that another thread ends; never reached when things work.
constexpr uint32_t kLongMs = 20'000;

class SyncContract : public ::testing::Test {
 protected:
  WaitResult Wait(Event& event, uint32_t timeout_ms) {
    Event* const events[] = {&event};
    return sync_->WaitAny(events, timeout_ms);
  }
  WaitResult WaitAll(const std::vector<std::unique_ptr<Event>>& owned, uint32_t timeout_ms) {
    std::vector<Event*> events;
    for (const auto& event : owned) events.push_back(event.get());
    return sync_->WaitAny(events, timeout_ms);
  }
  std::vector<std::unique_ptr<Event>> MakeEvents(size_t count, bool manual_reset) {
    std::vector<std::unique_ptr<Event>> events;
    for (size_t i = 0; i < count; ++i) events.push_back(sync_->CreateEvent(manual_reset, false));
    return events;
  }

  std::unique_ptr<Sync> sync_ = testing::MakeSync();
  std::unique_ptr<Clock> clock_ = testing::MakeClock();
};

TEST_F(SyncContract, ManualResetEventStaysSetUntilReset) {
  auto event = sync_->CreateEvent(true, true);
  EXPECT_EQ(Wait(*event, 0).kind, Kind::kSignalled);
  EXPECT_EQ(Wait(*event, 0).kind, Kind::kSignalled);
  event->Reset();
  EXPECT_EQ(Wait(*event, 0).kind, Kind::kTimedOut);
  event->Set();
  event->Set();
  EXPECT_EQ(Wait(*event, 0).kind, Kind::kSignalled);
  EXPECT_EQ(Wait(*event, 0).kind, Kind::kSignalled);
}

TEST_F(SyncContract, AutoResetEventIsConsumedByOneWait) {
  auto event = sync_->CreateEvent(false, true);
  EXPECT_EQ(Wait(*event, 0).kind, Kind::kSignalled);
  EXPECT_EQ(Wait(*event, 0).kind, Kind::kTimedOut);
  // Two Sets without a wait in between leave one signal, not two.
  event->Set();
  event->Set();
  EXPECT_EQ(Wait(*event, 0).kind, Kind::kSignalled);
  EXPECT_EQ(Wait(*event, 0).kind, Kind::kTimedOut);
  event->Set();
  event->Reset();
  EXPECT_EQ(Wait(*event, 0).kind, Kind::kTimedOut);
}

TEST_F(SyncContract, TimeOutIsReportedAsSuchAndNotEarly) {
  auto event = sync_->CreateEvent(false, false);
  EXPECT_EQ(Wait(*event, 0).kind, Kind::kTimedOut);

  const int64_t start = clock_->PerformanceCounter();
  EXPECT_EQ(Wait(*event, 100).kind, Kind::kTimedOut);
  const int64_t elapsed_ms =
      (clock_->PerformanceCounter() - start) * 1000 / clock_->PerformanceFrequency();
  // Windows may end a wait up to one timer tick (about 16 ms) early.
  EXPECT_GE(elapsed_ms, 80);
}

TEST_F(SyncContract, WaitAnyReturnsTheLowestSignalledIndex) {
  auto events = MakeEvents(4, false);
  events[3]->Set();
  events[1]->Set();
  events[2]->Set();
  WaitResult result = WaitAll(events, 0);
  EXPECT_EQ(result.kind, Kind::kSignalled);
  EXPECT_EQ(result.index, 1u);
  // Only the returned auto-reset event was consumed.
  result = WaitAll(events, 0);
  EXPECT_EQ(result.kind, Kind::kSignalled);
  EXPECT_EQ(result.index, 2u);
  result = WaitAll(events, 0);
  EXPECT_EQ(result.kind, Kind::kSignalled);
  EXPECT_EQ(result.index, 3u);
  EXPECT_EQ(WaitAll(events, 0).kind, Kind::kTimedOut);
}

TEST_F(SyncContract, ASetManualResetEventKeepsWinningOverHigherIndices) {
  auto events = MakeEvents(3, true);
  events[2]->Set();
  events[1]->Set();
  EXPECT_EQ(WaitAll(events, 0).index, 1u);
  EXPECT_EQ(WaitAll(events, 0).index, 1u);
  events[1]->Reset();
  EXPECT_EQ(WaitAll(events, 0).index, 2u);
}

TEST_F(SyncContract, WaitAnyOnNoEventsOrMoreThan64Fails) {
  platform::WaitResult none = sync_->WaitAny({}, 0);
  EXPECT_EQ(none.kind, Kind::kFailed);
  EXPECT_EQ(none.error, platform::kErrorInvalidParameter);

  auto events = MakeEvents(65, true);
  events[64]->Set();
  EXPECT_EQ(WaitAll(events, 0).kind, Kind::kFailed);
  events.pop_back();
  events[63]->Set();
  const WaitResult result = WaitAll(events, 0);
  EXPECT_EQ(result.kind, Kind::kSignalled);
  EXPECT_EQ(result.index, 63u);
}

TEST_F(SyncContract, SetFromAnotherThreadWakesAnInfiniteWait) {
  auto event = sync_->CreateEvent(false, false);
  auto thread = sync_->StartThread([&] { event->Set(); }, ThreadPriority::kNormal);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(Wait(*event, kWaitInfinite).kind, Kind::kSignalled);
  thread->Join();
}

// Waiters wait for either the auto-reset event or a manual "quit" event. One Set must release
// exactly one of them with index 0; the others leave only when quit is set.
TEST_F(SyncContract, AutoResetEventReleasesExactlyOneWaiter) {
  constexpr int kWaiters = 4;
  auto work = sync_->CreateEvent(false, false);
  auto quit = sync_->CreateEvent(true, false);
  auto woken = sync_->CreateEvent(false, false);
  std::atomic<int> started{0};
  std::atomic<int> got_work{0};
  std::atomic<int> got_quit{0};
  auto all_started = sync_->CreateEvent(true, false);

  std::vector<std::unique_ptr<Thread>> threads;
  for (int i = 0; i < kWaiters; ++i) {
    threads.push_back(sync_->StartThread(
        [&] {
          if (++started == kWaiters) all_started->Set();
          Event* const events[] = {work.get(), quit.get()};
          const WaitResult result = sync_->WaitAny(events, kLongMs);
          if (result.kind != Kind::kSignalled) return;
          (result.index == 0 ? got_work : got_quit)++;
          woken->Set();
        },
        ThreadPriority::kNormal));
    ASSERT_NE(threads.back(), nullptr);
  }
  ASSERT_EQ(Wait(*all_started, kLongMs).kind, Kind::kSignalled);
  work->Set();
  ASSERT_EQ(Wait(*woken, kLongMs).kind, Kind::kSignalled);
  quit->Set();
  for (auto& thread : threads) thread->Join();

  EXPECT_EQ(got_work.load(), 1);
  EXPECT_EQ(got_quit.load(), kWaiters - 1);
  EXPECT_EQ(Wait(*work, 0).kind, Kind::kTimedOut);
}

TEST_F(SyncContract, JoinReturnsAfterTheBodyFinished) {
  auto gate = sync_->CreateEvent(true, false);
  std::atomic<bool> finished{false};
  auto thread = sync_->StartThread(
      [&] {
        Wait(*gate, kLongMs);
        finished = true;
      },
      ThreadPriority::kBelowNormal);
  ASSERT_NE(thread, nullptr);
  EXPECT_FALSE(finished.load());
  gate->Set();
  thread->Join();
  EXPECT_TRUE(finished.load());
  thread->Join();  // a second join returns at once
}

TEST_F(SyncContract, ThreadsRunAtEveryPriority) {
  const ThreadPriority priorities[] = {ThreadPriority::kIdle,        ThreadPriority::kLowest,
                                       ThreadPriority::kBelowNormal, ThreadPriority::kNormal,
                                       ThreadPriority::kAboveNormal, ThreadPriority::kHighest,
                                       ThreadPriority::kTimeCritical};
  std::atomic<int> ran{0};
  std::vector<std::unique_ptr<Thread>> threads;
  for (const ThreadPriority priority : priorities) {
    threads.push_back(sync_->StartThread([&] { ++ran; }, priority));
    ASSERT_NE(threads.back(), nullptr);
  }
  for (auto& thread : threads) thread->Join();
  EXPECT_EQ(ran.load(), 7);
}

TEST_F(SyncContract, DestroyingAThreadWaitsForItsBody) {
  auto never_set = sync_->CreateEvent(true, false);
  std::atomic<bool> finished{false};
  auto thread = sync_->StartThread(
      [&] {
        Wait(*never_set, 100);
        finished = true;
      },
      ThreadPriority::kNormal);
  ASSERT_NE(thread, nullptr);
  thread.reset();
  EXPECT_TRUE(finished.load());
}

TEST_F(SyncContract, ClockAdvancesAcrossASleep) {
  ASSERT_GT(clock_->PerformanceFrequency(), 0);
  const uint32_t tick_start = clock_->TickCount();
  const int64_t counter_start = clock_->PerformanceCounter();
  clock_->Sleep(50);
  // Unsigned difference: correct across the 32-bit wrap of the tick count.
  const uint32_t ticks = clock_->TickCount() - tick_start;
  const int64_t counts = clock_->PerformanceCounter() - counter_start;
  EXPECT_GE(ticks, 30u);  // tick granularity is coarse on Windows
  EXPECT_LT(ticks, kLongMs);
  EXPECT_GE(counts * 1000 / clock_->PerformanceFrequency(), 40);
}

}  // namespace
}  // namespace platform
