#include "panel/win32/win32_frame_window.h"

namespace panel::win32 {

ui::Rect Win32FrameWindow::GetClientRect() {
  RECT r{};
  ::GetClientRect(window_.GetHWND(), &r);
  return ui::Rect{r.left, r.top, r.right, r.bottom};
}

void Win32FrameWindow::Resize(int width, int height) {
  ::SetWindowPos(window_.GetHWND(), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32FrameWindow::Show(bool show, bool take_focus) { window_.ShowWindow(show, take_focus); }

void Win32FrameWindow::Hide() { ::ShowWindow(window_.GetHWND(), SW_HIDE); }

bool Win32FrameWindow::IsMaximised() { return ::IsZoomed(window_.GetHWND()) != FALSE; }

void Win32FrameWindow::SysCommand(uint32_t command) {
  ::SendMessageW(window_.GetHWND(), WM_SYSCOMMAND, command, 0);
}

void Win32FrameWindow::PostQuit(int exit_code) { ::PostQuitMessage(exit_code); }

}  // namespace panel::win32
