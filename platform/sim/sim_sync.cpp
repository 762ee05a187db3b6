#include "platform/sim/sim_sync.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace platform::sim {

namespace {

constexpr size_t kMaxWaitObjects = 64;

// All host events share one lock and one condition, so a wait on several events is a single
// predicate over their states, whichever HostSync made them.
struct EventHub {
  std::mutex mutex;
  std::condition_variable changed;
};

// Never destroyed: a thread that was left running past its stop limit may still set an event
// while the process exits.
EventHub& Hub() {
  static EventHub& hub = *new EventHub;
  return hub;
}

class HostEvent : public Event {
 public:
  HostEvent(bool manual_reset, bool initially_set)
      : manual_reset_(manual_reset), set_(initially_set) {}

  void Set() override {
    {
      std::lock_guard lock(Hub().mutex);
      set_ = true;
    }
    Hub().changed.notify_all();
  }

  void Reset() override {
    std::lock_guard lock(Hub().mutex);
    set_ = false;
  }

  // Called with the hub locked.
  bool IsSet() const { return set_; }

  // Called with the hub locked: true when signalled, consuming an auto-reset signal.
  bool TryConsume() {
    if (!set_) return false;
    if (!manual_reset_) set_ = false;
    return true;
  }

 private:
  const bool manual_reset_;
  bool set_;
};

class HostThread : public Thread {
 public:
  explicit HostThread(std::function<void()> body) : thread_(std::move(body)) {}
  // Like the Windows adapter, dropping the thread object never cuts the body short.
  ~HostThread() override { Join(); }

  void Join() override {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::thread thread_;
};

}  // namespace

// Guarded by the hub's lock.
struct HostSync::Activity {
  int running = 0;
  std::vector<const std::vector<HostEvent*>*> waits;  // the events of each blocked wait

  bool Idle() const {
    if (static_cast<int>(waits.size()) != running) return false;
    for (const auto* events : waits) {
      for (const HostEvent* event : *events) {
        if (event->IsSet()) return false;
      }
    }
    return true;
  }
};

thread_local HostSync::Activity* HostSync::current_activity_ = nullptr;

HostSync::HostSync() : activity_(std::make_shared<Activity>()) {}

std::unique_ptr<Event> HostSync::CreateEvent(bool manual_reset, bool initially_set) {
  return std::make_unique<HostEvent>(manual_reset, initially_set);
}

WaitResult HostSync::WaitAny(std::span<Event* const> events, uint32_t timeout_ms) {
  if (events.empty() || events.size() > kMaxWaitObjects) return {};
  std::vector<HostEvent*> host_events;
  for (Event* event : events) {
    auto* host_event = dynamic_cast<HostEvent*>(event);
    if (!host_event) return {WaitResult::Kind::kFailed, 0, kErrorInvalidHandle};
    host_events.push_back(host_event);
  }

  EventHub& hub = Hub();
  std::unique_lock lock(hub.mutex);
  size_t index = 0;
  const auto signalled = [&] {
    for (index = 0; index < host_events.size(); ++index) {
      if (host_events[index]->TryConsume()) return true;
    }
    return false;
  };
  Activity* activity = current_activity_;
  if (activity != nullptr) activity->waits.push_back(&host_events);
  bool woken = true;
  if (timeout_ms == kWaitInfinite) {
    hub.changed.wait(lock, signalled);
  } else {
    woken = hub.changed.wait_for(lock, std::chrono::milliseconds(timeout_ms), signalled);
  }
  if (activity != nullptr) std::erase(activity->waits, &host_events);
  if (!woken) return {WaitResult::Kind::kTimedOut, 0};
  return {WaitResult::Kind::kSignalled, index};
}

std::unique_ptr<Thread> HostSync::StartThread(std::function<void()> body, ThreadPriority) {
  // The host runs every thread at its default priority: only the Windows adapter applies it.
  {
    std::lock_guard lock(Hub().mutex);
    ++activity_->running;
  }
  auto counted = [activity = activity_, body = std::move(body)] {
    current_activity_ = activity.get();
    body();
    current_activity_ = nullptr;
    std::lock_guard lock(Hub().mutex);
    --activity->running;
  };
  try {
    return std::make_unique<HostThread>(std::move(counted));
  } catch (const std::system_error&) {
    std::lock_guard lock(Hub().mutex);
    --activity_->running;
    return nullptr;
  }
}

bool HostSync::WaitUntilIdle(uint32_t timeout_ms) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    {
      std::lock_guard lock(Hub().mutex);
      if (activity_->Idle()) return true;
    }
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
}

namespace {

std::chrono::steady_clock::duration SinceEpoch() {
  return std::chrono::steady_clock::now().time_since_epoch();
}

}  // namespace

uint32_t HostClock::TickCount() {
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(SinceEpoch()).count());
}

int64_t HostClock::PerformanceCounter() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(SinceEpoch()).count();
}

int64_t HostClock::PerformanceFrequency() { return 1'000'000'000; }

void HostClock::Sleep(uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

namespace {

constexpr int64_t kVirtualCountsPerMs = 10'000;

}  // namespace

VirtualClock::VirtualClock(uint32_t start_tick) : now_ms_(start_tick) {}

void VirtualClock::Advance(uint32_t milliseconds) { now_ms_.fetch_add(milliseconds); }

uint32_t VirtualClock::TickCount() { return static_cast<uint32_t>(now_ms_.load()); }

int64_t VirtualClock::PerformanceCounter() {
  return static_cast<int64_t>(now_ms_.load()) * kVirtualCountsPerMs;
}

int64_t VirtualClock::PerformanceFrequency() { return 1000 * kVirtualCountsPerMs; }

void VirtualClock::Sleep(uint32_t milliseconds) { Advance(milliseconds); }

}  // namespace platform::sim
