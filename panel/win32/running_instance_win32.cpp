#include "panel/win32/running_instance_win32.h"

#include <windows.h>

#include <string>

#include "platform/win32/wide_text.h"

namespace panel {

bool Win32RunningInstance::BringToFront(std::u16string_view window_class,
                                        std::u16string_view title) {
  std::wstring class_name = platform::win32::ToWide(window_class);
  std::wstring caption = platform::win32::ToWide(title);
  HWND found = ::FindWindowW(class_name.c_str(), caption.c_str());
  if (found == nullptr) return false;
  HWND popup = ::GetLastActivePopup(found);
  ::BringWindowToTop(found);
  // Windows lets only the foreground thread's input partner take the foreground.
  DWORD this_thread = ::GetCurrentThreadId();
  DWORD foreground_thread = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
  ::AttachThreadInput(this_thread, foreground_thread, TRUE);
  ::ShowWindow(popup, SW_RESTORE);
  ::SetWindowPos(popup, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetWindowPos(popup, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(popup);
  ::AttachThreadInput(this_thread, foreground_thread, FALSE);
  return true;
}

}  // namespace panel
