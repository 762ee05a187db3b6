#include "panel/core/running_instance.h"

namespace panel {

bool BringToFront(RunningInstance& windows, std::u16string_view window_class,
                  std::u16string_view title) {
  const WindowId found = windows.FindTopLevel(window_class, title);
  if (found == 0) return false;
  const WindowId popup = windows.LastActivePopup(found);
  windows.BringToTop(found);
  const ThreadId this_thread = windows.CurrentThread();
  const ThreadId foreground_thread = windows.ForegroundWindowThread();
  windows.AttachInput(this_thread, foreground_thread, true);
  windows.Restore(popup);
  windows.SetTopmost(popup, true);
  windows.SetTopmost(popup, false);
  windows.SetForeground(popup);
  windows.AttachInput(this_thread, foreground_thread, false);
  return true;
}

}  // namespace panel
