// Runs the UI thread's library commands on a worker thread, one after another in the order
// they were given, so the UI thread never waits for the streaming library.
#pragma once
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/sync.h"

namespace panel {

class CommandWorker {
 public:
  explicit CommandWorker(platform::Sync& sync) : sync_(sync) {}
  // Wait.
  ~CommandWorker();
  CommandWorker(const CommandWorker&) = delete;
  CommandWorker& operator=(const CommandWorker&) = delete;

  // Queues the command behind those given before. Called from one thread only. Where no
  // worker thread can be started the command runs on the caller's thread: late beats never.
  void Run(std::function<void()> command);
  // Returns once the queued commands have run. From the thread that calls Run.
  void Wait();

 private:
  void Drain();

  platform::Sync& sync_;
  std::mutex lock_;
  std::deque<std::function<void()>> queue_;
  bool draining_ = false;
  std::unique_ptr<platform::Thread> thread_;  // the caller's thread only
};

}  // namespace panel
