// Window timers on SetTimer and KillTimer: a due timer arrives as WM_TIMER on the window's
// thread, where the frame window hands it to PanelFrame::OnTimer.
#pragma once
#include <windows.h>

#include "panel/core/window_timers.h"

namespace panel::win32 {

class Win32WindowTimers : public WindowTimers {
 public:
  explicit Win32WindowTimers(HWND hwnd) : hwnd_(hwnd) {}
  void SetTimer(uint32_t id, uint32_t period_ms) override;
  void KillTimer(uint32_t id) override;

 private:
  HWND hwnd_;
};

}  // namespace panel::win32
