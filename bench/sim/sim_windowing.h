// The window manager for the benchmark's sink window: one message queue (the main thread's),
// timers on a clock, posted messages from any thread, and records of the windows and timers.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "bench/core/windowing.h"
#include "platform/sync.h"

namespace vexmark::sim {

struct SimWindowRecord {
  std::string class_name;
  std::string title;
  WindowShape shape;
  bool shown = false;
  bool alive = true;
};

class SimWindowing : public Windowing {
 public:
  explicit SimWindowing(platform::Clock& clock) : clock_(clock) {}

  bool RegisterSinkClass(const std::string& class_name, WindowProcedure& procedure) override;
  WindowHandle CreateSinkWindow(const std::string& class_name, const std::string& title,
                                const WindowShape& shape) override;
  bool AdjustWindowRect(Rect& rect, std::uint32_t style) override;
  void ShowWindow(WindowHandle window, int command) override;
  void UpdateWindow(WindowHandle /*window*/) override {}
  void DestroyWindow(WindowHandle window) override;
  std::uint64_t SetTimer(WindowHandle window, std::uint64_t id, std::uint32_t ms) override;
  void KillTimer(WindowHandle window, std::uint64_t id) override;
  bool PostWindowMessage(const WindowMessage& message) override;
  void PostQuitMessage(int code) override;
  int NextMessage(WindowMessage& message) override;
  void Dispatch(const WindowMessage& message) override;
  std::uint32_t LastError() override { return 0; }

  bool fail_create = false;
  int registrations() const;
  std::vector<SimWindowRecord> windows() const;
  // Every SetTimer: (interval, clock tick when set).
  std::vector<std::pair<std::uint32_t, std::uint32_t>> timers_set() const;
  int live_timers() const;
  int live_windows() const;
  WindowHandle last_window() const;

 private:
  struct Timer {
    WindowHandle window;
    std::uint32_t interval;
    std::uint32_t due;
  };
  platform::Clock& clock_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<WindowMessage> queue_;
  bool quit_ = false;
  std::map<std::string, WindowProcedure*> classes_;
  int registrations_ = 0;
  std::map<WindowHandle, SimWindowRecord> windows_;
  std::map<std::pair<WindowHandle, std::uint64_t>, Timer> timers_;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> timers_set_;
  WindowHandle next_window_ = 0x5000;
};

}  // namespace vexmark::sim
