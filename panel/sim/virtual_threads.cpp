#include "panel/sim/virtual_threads.h"

#include <limits>
#include <thread>
#include <utility>

namespace panel::sim {

class VirtualThreads::VirtualEvent : public platform::Event {
 public:
  VirtualEvent(VirtualThreads& owner, bool manual_reset, bool initially_set)
      : owner_(owner), manual_reset_(manual_reset), set_(initially_set) {}

  void Set() override {
    {
      std::lock_guard hold(owner_.lock_);
      set_ = true;
    }
    owner_.changed_.notify_all();
  }
  void Reset() override {
    std::lock_guard hold(owner_.lock_);
    set_ = false;
  }

  // With the owner's lock held.
  bool IsSet() const { return set_; }
  void Consume() {
    if (!manual_reset_) set_ = false;
  }

 private:
  VirtualThreads& owner_;
  const bool manual_reset_;
  bool set_;
};

namespace {

class VirtualThread : public platform::Thread {
 public:
  explicit VirtualThread(std::thread thread) : thread_(std::move(thread)) {}
  ~VirtualThread() override { Join(); }
  void Join() override {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::thread thread_;
};

}  // namespace

VirtualThreads::~VirtualThreads() { Settle(); }

uint64_t VirtualThreads::NowMs() const {
  std::lock_guard hold(lock_);
  return now_ms_;
}

bool VirtualThreads::Ready(const Waiter& waiter) const {
  if (now_ms_ >= waiter.deadline) return true;
  for (const VirtualEvent* event : waiter.events) {
    if (event->IsSet()) return true;
  }
  return false;
}

bool VirtualThreads::AtRest() const {
  int resting = 0;
  for (const Waiter& waiter : waiters_) {
    if (!Ready(waiter)) ++resting;
  }
  return resting == live_threads_;
}

void VirtualThreads::Settle() {
  std::unique_lock hold(lock_);
  changed_.wait(hold, [this] { return AtRest(); });
}

std::optional<uint64_t> VirtualThreads::NextDeadline() const {
  std::lock_guard hold(lock_);
  std::optional<uint64_t> next;
  for (const Waiter& waiter : waiters_) {
    if (waiter.deadline == std::numeric_limits<uint64_t>::max()) continue;
    if (!next || waiter.deadline < *next) next = waiter.deadline;
  }
  return next;
}

void VirtualThreads::AdvanceTo(uint64_t ms) {
  {
    std::lock_guard hold(lock_);
    if (ms > now_ms_) now_ms_ = ms;
  }
  changed_.notify_all();
}

int VirtualThreads::LiveThreads() const {
  std::lock_guard hold(lock_);
  return live_threads_;
}

void VirtualThreads::FailThreadStarts(int count) {
  std::lock_guard hold(lock_);
  failing_starts_ = count;
}

std::unique_ptr<platform::Event> VirtualThreads::CreateEvent(bool manual_reset,
                                                             bool initially_set) {
  return std::make_unique<VirtualEvent>(*this, manual_reset, initially_set);
}

platform::WaitResult VirtualThreads::WaitAny(std::span<platform::Event* const> events,
                                             uint32_t timeout_ms) {
  Waiter waiter;
  for (platform::Event* event : events) {
    auto* virtual_event = dynamic_cast<VirtualEvent*>(event);
    if (virtual_event == nullptr) return {};
    waiter.events.push_back(virtual_event);
  }
  if (waiter.events.empty()) return {};

  std::unique_lock hold(lock_);
  waiter.deadline = timeout_ms == platform::kWaitInfinite ? std::numeric_limits<uint64_t>::max()
                                                          : now_ms_ + timeout_ms;
  auto entry = waiters_.insert(waiters_.end(), waiter);
  // Settle may be waiting for this thread to come to rest.
  changed_.notify_all();
  changed_.wait(hold, [&] { return Ready(*entry); });
  waiters_.erase(entry);
  for (size_t i = 0; i < waiter.events.size(); ++i) {
    if (waiter.events[i]->IsSet()) {
      waiter.events[i]->Consume();
      return {platform::WaitResult::Kind::kSignalled, i};
    }
  }
  return {platform::WaitResult::Kind::kTimedOut, 0};
}

std::unique_ptr<platform::Thread> VirtualThreads::StartThread(std::function<void()> body,
                                                              platform::ThreadPriority) {
  {
    std::lock_guard hold(lock_);
    if (failing_starts_ > 0) {
      --failing_starts_;
      return nullptr;
    }
    ++live_threads_;
  }
  return std::make_unique<VirtualThread>(std::thread([this, body = std::move(body)] {
    body();
    {
      std::lock_guard hold(lock_);
      --live_threads_;
    }
    changed_.notify_all();
  }));
}

}  // namespace panel::sim
