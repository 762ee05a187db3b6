// Threads and events on virtual time, for scenario tests: real threads run the bodies, but a
// wait's time-out falls due only when the test moves time forward, and the test can wait
// until every thread has come to rest (ended, or waiting for an event or a time still to
// come). Time-outs of 500 ms and polls 2000 ms apart then run in microseconds, in a
// repeatable order.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "platform/sync.h"

namespace panel::sim {

class VirtualThreads : public platform::Sync {
 public:
  VirtualThreads() = default;
  ~VirtualThreads() override;

  uint64_t NowMs() const;
  // Returns once every thread started here has ended or waits for an event not signalled
  // and a time-out not yet due.
  void Settle();
  // The earliest time-out among the resting waits; nullopt when none.
  std::optional<uint64_t> NextDeadline() const;
  // Moves time forward (never back); waits whose time-out is due then wake.
  void AdvanceTo(uint64_t ms);
  // Threads started here whose bodies have not returned.
  int LiveThreads() const;
  // Failure injection: the next StartThread calls answer nullptr.
  void FailThreadStarts(int count);

  std::unique_ptr<platform::Event> CreateEvent(bool manual_reset, bool initially_set) override;
  platform::WaitResult WaitAny(std::span<platform::Event* const> events,
                               uint32_t timeout_ms) override;
  std::unique_ptr<platform::Thread> StartThread(std::function<void()> body,
                                                platform::ThreadPriority priority) override;

 private:
  class VirtualEvent;
  struct Waiter {
    std::vector<VirtualEvent*> events;
    uint64_t deadline;
  };

  // With lock_ held.
  bool Ready(const Waiter& waiter) const;
  bool AtRest() const;

  mutable std::mutex lock_;
  std::condition_variable changed_;
  uint64_t now_ms_ = 0;
  int live_threads_ = 0;
  int failing_starts_ = 0;
  std::list<Waiter> waiters_;
};

}  // namespace panel::sim
