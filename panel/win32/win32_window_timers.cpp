#include "panel/win32/win32_window_timers.h"

namespace panel::win32 {

void Win32WindowTimers::SetTimer(uint32_t id, uint32_t period_ms) {
  ::SetTimer(hwnd_, id, period_ms, nullptr);
}

void Win32WindowTimers::KillTimer(uint32_t id) { ::KillTimer(hwnd_, id); }

}  // namespace panel::win32
