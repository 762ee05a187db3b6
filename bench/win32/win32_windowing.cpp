#include "bench/win32/win32_windowing.h"

#include <windows.h>

namespace vexmark::win32 {

namespace {

HWND AsWindow(WindowHandle window) {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}

LRESULT CALLBACK SinkWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* owner = reinterpret_cast<Win32Windowing*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (owner && owner->procedure()) {
    WindowMessage m{static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(window)), message,
                    static_cast<std::uint64_t>(wparam), static_cast<std::int64_t>(lparam)};
    if (owner->procedure()->OnMessage(m)) return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

bool Win32Windowing::RegisterSinkClass(const std::string& class_name, WindowProcedure& procedure) {
  procedure_ = &procedure;
  WNDCLASSA wc{};
  wc.lpfnWndProc = SinkWindowProc;
  wc.hInstance = static_cast<HINSTANCE>(instance_);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = class_name.c_str();
  return RegisterClassA(&wc) != 0;
}

WindowHandle Win32Windowing::CreateSinkWindow(const std::string& class_name,
                                              const std::string& title, const WindowShape& shape) {
  HWND window = CreateWindowExA(shape.ex_style, class_name.c_str(), title.c_str(), shape.style,
                                shape.x, shape.y, shape.width, shape.height, nullptr, nullptr,
                                static_cast<HINSTANCE>(instance_), this);
  return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
}

bool Win32Windowing::AdjustWindowRect(Rect& rect, std::uint32_t style) {
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  if (!::AdjustWindowRect(&r, style, FALSE)) return false;
  rect = Rect{r.left, r.top, r.right, r.bottom};
  return true;
}

void Win32Windowing::ShowWindow(WindowHandle window, int command) {
  ::ShowWindow(AsWindow(window), command);
}

void Win32Windowing::UpdateWindow(WindowHandle window) { ::UpdateWindow(AsWindow(window)); }

void Win32Windowing::DestroyWindow(WindowHandle window) { ::DestroyWindow(AsWindow(window)); }

std::uint64_t Win32Windowing::SetTimer(WindowHandle window, std::uint64_t id, std::uint32_t ms) {
  return ::SetTimer(AsWindow(window), static_cast<UINT_PTR>(id), ms, nullptr);
}

void Win32Windowing::KillTimer(WindowHandle window, std::uint64_t id) {
  ::KillTimer(AsWindow(window), static_cast<UINT_PTR>(id));
}

bool Win32Windowing::PostWindowMessage(const WindowMessage& message) {
  return PostMessageA(AsWindow(message.window), message.message,
                      static_cast<WPARAM>(message.wparam),
                      static_cast<LPARAM>(message.lparam)) != 0;
}

void Win32Windowing::PostQuitMessage(int code) { ::PostQuitMessage(code); }

int Win32Windowing::NextMessage(WindowMessage& message) {
  MSG msg;
  BOOL result = GetMessageA(&msg, nullptr, 0, 0);
  if (result > 0) {
    message = WindowMessage{static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(msg.hwnd)),
                            msg.message, static_cast<std::uint64_t>(msg.wParam),
                            static_cast<std::int64_t>(msg.lParam)};
  }
  return result > 0 ? 1 : (result == 0 ? 0 : -1);
}

void Win32Windowing::Dispatch(const WindowMessage& message) {
  MSG msg{};
  msg.hwnd = AsWindow(message.window);
  msg.message = message.message;
  msg.wParam = static_cast<WPARAM>(message.wparam);
  msg.lParam = static_cast<LPARAM>(message.lparam);
  DispatchMessageA(&msg);
}

std::uint32_t Win32Windowing::LastError() { return GetLastError(); }

}  // namespace vexmark::win32
