// Host events and waits, but threads that never run: a test on virtual time does the
// threads' work itself, in a fixed order, and counts the threads the code started.
#pragma once
#include <memory>

#include "platform/sim/sim_sync.h"

namespace audio::testing {

class HeldThreadSync : public platform::sim::HostSync {
 public:
  std::unique_ptr<platform::Thread> StartThread(std::function<void()>,
                                                platform::ThreadPriority priority) override {
    ++threads_started;
    last_priority = priority;
    return std::make_unique<HeldThread>();
  }

  int threads_started = 0;
  platform::ThreadPriority last_priority = platform::ThreadPriority::kNormal;

 private:
  class HeldThread : public platform::Thread {
   public:
    void Join() override {}
  };
};

}  // namespace audio::testing
