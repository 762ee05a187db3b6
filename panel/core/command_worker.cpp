#include "panel/core/command_worker.h"

#include <utility>

namespace panel {

CommandWorker::~CommandWorker() { Wait(); }

void CommandWorker::Wait() { thread_.reset(); }

void CommandWorker::Run(std::function<void()> command) {
  {
    std::lock_guard hold(lock_);
    queue_.push_back(std::move(command));
    if (draining_) return;
    draining_ = true;
  }
  // The previous worker has left its loop already (draining_ was clear), so this join is short.
  thread_.reset();
  thread_ = sync_.StartThread([this] { Drain(); }, platform::ThreadPriority::kNormal);
  if (!thread_) Drain();
}

void CommandWorker::Drain() {
  for (;;) {
    std::function<void()> command;
    {
      std::lock_guard hold(lock_);
      if (queue_.empty()) {
        draining_ = false;
        return;
      }
      command = std::move(queue_.front());
      queue_.pop_front();
    }
    command();
  }
}

}  // namespace panel
