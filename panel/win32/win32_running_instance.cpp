#include "panel/win32/win32_running_instance.h"

#include <windows.h>

#include <string>

#include "platform/win32/wide_text.h"

namespace panel::win32 {

namespace {

HWND Handle(WindowId window) { return reinterpret_cast<HWND>(window); }
WindowId Id(HWND window) { return reinterpret_cast<WindowId>(window); }

}  // namespace

WindowId Win32RunningInstance::FindTopLevel(std::u16string_view window_class,
                                            std::u16string_view title) {
  const std::wstring class_name = platform::win32::ToWide(window_class);
  const std::wstring caption = platform::win32::ToWide(title);
  return Id(::FindWindowW(class_name.c_str(), caption.c_str()));
}

WindowId Win32RunningInstance::LastActivePopup(WindowId window) {
  return Id(::GetLastActivePopup(Handle(window)));
}

void Win32RunningInstance::BringToTop(WindowId window) { ::BringWindowToTop(Handle(window)); }

ThreadId Win32RunningInstance::CurrentThread() { return ::GetCurrentThreadId(); }

ThreadId Win32RunningInstance::ForegroundWindowThread() {
  return ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
}

void Win32RunningInstance::AttachInput(ThreadId thread, ThreadId to_thread, bool attach) {
  ::AttachThreadInput(thread, to_thread, attach ? TRUE : FALSE);
}

void Win32RunningInstance::Restore(WindowId window) { ::ShowWindow(Handle(window), SW_RESTORE); }

void Win32RunningInstance::SetTopmost(WindowId window, bool topmost) {
  ::SetWindowPos(Handle(window), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
}

void Win32RunningInstance::SetForeground(WindowId window) { ::SetForegroundWindow(Handle(window)); }

}  // namespace panel::win32
