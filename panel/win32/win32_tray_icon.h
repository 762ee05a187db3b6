// The frame window's notification-area icon (Shell_NotifyIconW) and its pop-up menu.
#pragma once
#include <windows.h>

#include "panel/core/tray_icon.h"

namespace panel::win32 {

class Win32TrayIcon : public TrayIcon {
 public:
  explicit Win32TrayIcon(HWND hwnd) : hwnd_(hwnd) {}
  void AddIcon(std::u16string_view tip) override;
  void RemoveIcon() override;
  int32_t TrackMenuAtCursor(std::u16string_view item_text, int32_t command) override;
  void SetForeground() override;
  void SendNull() override;

 private:
  HWND hwnd_;
};

}  // namespace panel::win32
