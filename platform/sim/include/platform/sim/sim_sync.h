// Host implementations of the sync port: real threads and events on the C++ runtime, and a
// virtual clock that tests advance by hand.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/sync.h"

namespace platform::sim {

// Events and threads with the Windows semantics, on std::thread and condition variables.
class HostSync : public Sync {
 public:
  HostSync();
  std::unique_ptr<Event> CreateEvent(bool manual_reset, bool initially_set) override;
  WaitResult WaitAny(std::span<Event* const> events, uint32_t timeout_ms) override;
  std::unique_ptr<Thread> StartThread(std::function<void()> body, ThreadPriority priority) override;

  // For tests that move virtual time by hand: waits (real time, at most timeout_ms) until every
  // thread this object started has ended or waits on events none of which is signalled, that
  // is until the threads have answered what was signalled. False when they are still busy.
  bool WaitUntilIdle(uint32_t timeout_ms);

 private:
  struct Activity;  // the threads it started and the waits they are in
  static thread_local Activity* current_activity_;  // the starter's, on a thread it started
  std::shared_ptr<Activity> activity_;
};

// The host's real clock (steady clock; frequency 1e9).
class HostClock : public Clock {
 public:
  uint32_t TickCount() override;
  int64_t PerformanceCounter() override;
  int64_t PerformanceFrequency() override;
  void Sleep(uint32_t milliseconds) override;
};

// Virtual time: starts at a chosen tick, moves only by Advance and Sleep (a Sleep advances
// the clock at once). Performance counter frequency 10 MHz.
class VirtualClock : public Clock {
 public:
  explicit VirtualClock(uint32_t start_tick = 0);
  void Advance(uint32_t milliseconds);
  uint32_t TickCount() override;
  int64_t PerformanceCounter() override;
  int64_t PerformanceFrequency() override;
  void Sleep(uint32_t milliseconds) override;

 private:
  std::atomic<uint64_t> now_ms_;
};

}  // namespace platform::sim
