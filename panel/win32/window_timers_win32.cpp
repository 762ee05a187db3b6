#include "panel/win32/window_timers_win32.h"

namespace panel {

void Win32WindowTimers::SetTimer(uint32_t id, uint32_t period_ms) {
  ::SetTimer(hwnd_, id, period_ms, nullptr);
}

void Win32WindowTimers::KillTimer(uint32_t id) { ::KillTimer(hwnd_, id); }

}  // namespace panel
