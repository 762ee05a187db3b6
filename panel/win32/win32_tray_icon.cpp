#include "panel/win32/win32_tray_icon.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "platform/win32/wide_text.h"

namespace panel::win32 {

#ifndef _WIN64
static_assert(sizeof(NOTIFYICONDATAW) == 956, "the full-size record of the 32-bit program");
#endif

void Win32TrayIcon::AddIcon(std::u16string_view tip) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = hwnd_;
  data.uID = kTrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kTrayIconId));
  std::wstring text = platform::win32::ToWide(tip);
  size_t length = std::min(text.size(), std::size(data.szTip) - 1);
  std::copy_n(text.begin(), length, data.szTip);
  ::Shell_NotifyIconW(NIM_ADD, &data);
}

void Win32TrayIcon::RemoveIcon() {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = hwnd_;
  data.uID = kTrayIconId;
  ::Shell_NotifyIconW(NIM_DELETE, &data);
}

int32_t Win32TrayIcon::TrackMenuAtCursor(std::u16string_view item_text, int32_t command) {
  HMENU menu = ::CreatePopupMenu();
  if (menu == nullptr) return 0;
  std::wstring text = platform::win32::ToWide(item_text);
  ::AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(command), text.c_str());
  POINT cursor{};
  ::GetCursorPos(&cursor);
  BOOL chosen =
      ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, cursor.x, cursor.y, 0, hwnd_, nullptr);
  ::DestroyMenu(menu);
  return static_cast<int32_t>(chosen);
}

void Win32TrayIcon::SetForeground() { ::SetForegroundWindow(hwnd_); }

void Win32TrayIcon::SendNull() { ::SendMessageW(hwnd_, WM_NULL, 0, 0); }

}  // namespace panel::win32
