// Window timers of the frame window. Called on the window's thread only; when a timer is due
// the window's thread calls PanelFrame::OnTimer with its identifier.
#pragma once
#include <cstdint>

namespace panel {

// The poll timer: identifier and period.
inline constexpr uint32_t kPollTimerId = 9999;
inline constexpr uint32_t kPollPeriodMs = 2000;

class WindowTimers {
 public:
  virtual ~WindowTimers() = default;
  // Arms (or re-arms) the timer with the period.
  virtual void SetTimer(uint32_t id, uint32_t period_ms) = 0;
  virtual void KillTimer(uint32_t id) = 0;
};

}  // namespace panel
