// The frame window's own operations over its CWindowWnd.
#pragma once
#include "panel/core/frame_window.h"
#include "ui/win32/window_wnd.h"

namespace panel::win32 {

class Win32FrameWindow : public FrameWindow {
 public:
  explicit Win32FrameWindow(ui::CWindowWnd& window) : window_(window) {}
  ui::Rect GetClientRect() override;
  void Resize(int width, int height) override;
  void Show(bool show, bool take_focus) override;
  void Hide() override;
  bool IsMaximised() override;
  void SysCommand(uint32_t command) override;
  void PostQuit(int exit_code) override;

 private:
  ui::CWindowWnd& window_;
};

}  // namespace panel::win32
