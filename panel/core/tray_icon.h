// The notification-area icon of the frame window and its pop-up menu.
#pragma once
#include <cstdint>
#include <string_view>

namespace panel {

inline constexpr uint32_t kTrayIconId = 101;
// The icon's callback message: WM_USER + 1, icon identifier in wParam, mouse message in lParam.
inline constexpr uint32_t kTrayCallbackMessage = 0x0400 + 1;
inline constexpr uint32_t kWmLButtonDblClk = 0x0203;
inline constexpr uint32_t kWmRButtonUp = 0x0205;
inline constexpr int32_t kExitCommand = 2001;
inline constexpr char16_t kExitMenuText[] = u"退出";

class TrayIcon {
 public:
  virtual ~TrayIcon() = default;
  // NIM_ADD of icon kTrayIconId (program icon resource 101) with the tip, callback message
  // kTrayCallbackMessage; the full 956-byte record.
  virtual void AddIcon(std::u16string_view tip) = 0;
  // NIM_DELETE of icon kTrayIconId.
  virtual void RemoveIcon() = 0;
  // Builds a pop-up menu with the one item and tracks it at the cursor position
  // (TPM_RETURNCMD | TPM_NONOTIFY); the chosen command, or 0 when none was chosen.
  virtual int32_t TrackMenuAtCursor(std::u16string_view item_text, int32_t command) = 0;
  // Makes the frame window the foreground window (needed for the menu to close properly).
  virtual void SetForeground() = 0;
  // Sends WM_NULL to the frame window.
  virtual void SendNull() = 0;
};

}  // namespace panel
