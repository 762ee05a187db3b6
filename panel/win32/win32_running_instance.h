// The window calls that bring a running instance's window forward, for the second instance.
#pragma once
#include "panel/core/running_instance.h"

namespace panel::win32 {

class Win32RunningInstance : public RunningInstance {
 public:
  WindowId FindTopLevel(std::u16string_view window_class, std::u16string_view title) override;
  WindowId LastActivePopup(WindowId window) override;
  void BringToTop(WindowId window) override;
  ThreadId CurrentThread() override;
  ThreadId ForegroundWindowThread() override;
  void AttachInput(ThreadId thread, ThreadId to_thread, bool attach) override;
  void Restore(WindowId window) override;
  void SetTopmost(WindowId window, bool topmost) override;
  void SetForeground(WindowId window) override;
};

}  // namespace panel::win32
