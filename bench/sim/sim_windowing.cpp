#include "bench/sim/sim_windowing.h"

#include <chrono>

namespace vexmark::sim {

bool SimWindowing::RegisterSinkClass(const std::string& class_name, WindowProcedure& procedure) {
  std::lock_guard lock(mutex_);
  ++registrations_;
  // A class name registers once per process.
  return classes_.emplace(class_name, &procedure).second;
}

WindowHandle SimWindowing::CreateSinkWindow(const std::string& class_name, const std::string& title,
                                            const WindowShape& shape) {
  std::lock_guard lock(mutex_);
  if (fail_create || !classes_.count(class_name)) return 0;
  WindowHandle window = next_window_++;
  windows_[window] = SimWindowRecord{class_name, title, shape, false, true};
  return window;
}

bool SimWindowing::AdjustWindowRect(Rect& rect, std::uint32_t /*style*/) {
  // A one-pixel border and a 20-pixel caption, as a bordered dialog frame adds.
  rect.left -= 3;
  rect.top -= 23;
  rect.right += 3;
  rect.bottom += 3;
  return true;
}

void SimWindowing::ShowWindow(WindowHandle window, int /*command*/) {
  std::lock_guard lock(mutex_);
  auto it = windows_.find(window);
  if (it != windows_.end()) it->second.shown = true;
}

void SimWindowing::DestroyWindow(WindowHandle window) {
  std::lock_guard lock(mutex_);
  auto it = windows_.find(window);
  if (it != windows_.end()) it->second.alive = false;
  for (auto t = timers_.begin(); t != timers_.end();) {
    t = t->first.first == window ? timers_.erase(t) : std::next(t);
  }
}

std::uint64_t SimWindowing::SetTimer(WindowHandle window, std::uint64_t id, std::uint32_t ms) {
  std::lock_guard lock(mutex_);
  auto it = windows_.find(window);
  if (it == windows_.end() || !it->second.alive) return 0;
  std::uint32_t now = clock_.TickCount();
  timers_[{window, id}] = Timer{window, ms, now + ms};
  timers_set_.emplace_back(ms, now);
  wake_.notify_all();
  return id;
}

int SimWindowing::live_timers() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(timers_.size());
}

void SimWindowing::KillTimer(WindowHandle window, std::uint64_t id) {
  std::lock_guard lock(mutex_);
  timers_.erase({window, id});
}

bool SimWindowing::PostWindowMessage(const WindowMessage& message) {
  std::lock_guard lock(mutex_);
  auto it = windows_.find(message.window);
  if (it == windows_.end() || !it->second.alive) return false;
  queue_.push_back(message);
  wake_.notify_all();
  return true;
}

void SimWindowing::PostQuitMessage(int /*code*/) {
  std::lock_guard lock(mutex_);
  quit_ = true;
  wake_.notify_all();
}

int SimWindowing::NextMessage(WindowMessage& message) {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (!queue_.empty()) {
      message = queue_.front();
      queue_.pop_front();
      return 1;
    }
    if (quit_) {
      quit_ = false;
      message = WindowMessage{0, kWmQuit, 0, 0};
      return 0;
    }
    std::uint32_t now = clock_.TickCount();
    for (auto& [key, timer] : timers_) {
      if (static_cast<std::int32_t>(now - timer.due) >= 0) {
        timer.due = now + timer.interval;
        message = WindowMessage{timer.window, kWmTimer, key.second, 0};
        return 1;
      }
    }
    wake_.wait_for(lock, std::chrono::milliseconds(1));
  }
}

void SimWindowing::Dispatch(const WindowMessage& message) {
  WindowProcedure* procedure = nullptr;
  {
    std::lock_guard lock(mutex_);
    auto it = windows_.find(message.window);
    if (it == windows_.end() || !it->second.alive) return;
    procedure = classes_[it->second.class_name];
  }
  if (procedure) procedure->OnMessage(message);
}

int SimWindowing::registrations() const {
  std::lock_guard lock(mutex_);
  return registrations_;
}

std::vector<SimWindowRecord> SimWindowing::windows() const {
  std::lock_guard lock(mutex_);
  std::vector<SimWindowRecord> result;
  for (const auto& [id, record] : windows_) result.push_back(record);
  return result;
}

std::vector<std::pair<std::uint32_t, std::uint32_t>> SimWindowing::timers_set() const {
  std::lock_guard lock(mutex_);
  return timers_set_;
}

int SimWindowing::live_windows() const {
  std::lock_guard lock(mutex_);
  int count = 0;
  for (const auto& [id, record] : windows_) count += record.alive ? 1 : 0;
  return count;
}

}  // namespace vexmark::sim

namespace vexmark::sim {

WindowHandle SimWindowing::last_window() const {
  std::lock_guard lock(mutex_);
  return windows_.empty() ? 0 : windows_.rbegin()->first;
}

}  // namespace vexmark::sim
