// Bringing the window of an instance that already runs to the front: the window calls it takes,
// and the order in which the second instance makes them.
#pragma once
#include <cstdint>
#include <string_view>

namespace panel {

inline constexpr char16_t kFrameClassName[] = u"VU365MainFrame";
inline constexpr char16_t kFrameTitle[] = u"Quandle 1.0";

// Windows and threads as the window manager names them; 0 is none.
using WindowId = uintptr_t;
using ThreadId = uint32_t;

class RunningInstance {
 public:
  virtual ~RunningInstance() = default;
  // The top-level window of the class and title (FindWindow).
  virtual WindowId FindTopLevel(std::u16string_view window_class, std::u16string_view title) = 0;
  virtual WindowId LastActivePopup(WindowId window) = 0;
  virtual void BringToTop(WindowId window) = 0;
  virtual ThreadId CurrentThread() = 0;
  virtual ThreadId ForegroundWindowThread() = 0;
  virtual void AttachInput(ThreadId thread, ThreadId to_thread, bool attach) = 0;
  // SW_RESTORE, which also shows a window hidden to the tray.
  virtual void Restore(WindowId window) = 0;
  // Topmost or not, without moving or sizing it.
  virtual void SetTopmost(WindowId window, bool topmost) = 0;
  virtual void SetForeground(WindowId window) = 0;
};

// Finds the running instance's window; when there is one, its last active pop-up is restored,
// brought to the top, made topmost and at once not topmost, and made the foreground window,
// with this thread's input attached to the foreground thread meanwhile (only the foreground
// thread's input partner may take the foreground). False when none was found.
bool BringToFront(RunningInstance& windows, std::u16string_view window_class,
                  std::u16string_view title);

}  // namespace panel
