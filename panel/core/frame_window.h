// The operations of the frame window itself that the panel's rules use.
#pragma once
#include <cstdint>

#include "ui/geometry.h"

namespace panel {

class FrameWindow {
 public:
  virtual ~FrameWindow() = default;
  virtual ui::Rect GetClientRect() = 0;
  // Sets the window's outer size keeping its position and z-order, without activating it
  // (SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE).
  virtual void Resize(int width, int height) = 0;
  // CWindowWnd::ShowWindow: show or hide, activating when take_focus and showing.
  virtual void Show(bool show, bool take_focus) = 0;
  // ShowWindow(SW_HIDE).
  virtual void Hide() = 0;
  virtual bool IsMaximised() = 0;
  // WM_SYSCOMMAND sent to the window, as the system menu would (SC_MAXIMIZE, SC_RESTORE).
  virtual void SysCommand(uint32_t command) = 0;
  // PostQuitMessage on the window's thread.
  virtual void PostQuit(int exit_code) = 0;
};

}  // namespace panel
