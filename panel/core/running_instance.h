// Bringing the window of an instance that already runs to the front.
#pragma once
#include <string_view>

namespace panel {

inline constexpr char16_t kFrameClassName[] = u"VU365MainFrame";
inline constexpr char16_t kFrameTitle[] = u"Quandle 1.0";

class RunningInstance {
 public:
  virtual ~RunningInstance() = default;
  // Finds the top-level window of the class and title; when there is one: its last active
  // pop-up is restored (SW_RESTORE, which also shows a window hidden to the tray), brought to
  // the top, made topmost and at once not topmost, and made the foreground window, with this
  // thread's input attached to the foreground thread meanwhile. False when none was found.
  virtual bool BringToFront(std::u16string_view window_class, std::u16string_view title) = 0;
};

}  // namespace panel
