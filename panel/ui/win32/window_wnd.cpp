#include "ui/win32/window_wnd.h"

namespace ui {
namespace {

// Our class built on a system class is registered under our class name with this suffix.
constexpr wchar_t kSuperclassSuffix[] = L"_Skin";

}  // namespace

LPCWSTR CWindowWnd::GetSuperClassName() const { return nullptr; }

UINT CWindowWnd::GetClassStyle() const { return 0; }

void CWindowWnd::OnFinalMessage(HWND) {}

bool CWindowWnd::RegisterWindowClass() {
  WNDCLASSW wc{};
  wc.style = GetClassStyle();
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.lpszClassName = GetWindowClassName();
  ATOM atom = ::RegisterClassW(&wc);
  return atom != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::RegisterSuperclass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!::GetClassInfoExW(nullptr, GetSuperClassName(), &wc) &&
      !::GetClassInfoExW(::GetModuleHandleW(nullptr), GetSuperClassName(), &wc)) {
    return false;
  }
  super_proc_ = wc.lpfnWndProc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  std::wstring name = std::wstring(GetWindowClassName()) + kSuperclassSuffix;
  wc.lpszClassName = name.c_str();
  ATOM atom = ::RegisterClassExW(&wc);
  return atom != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::Create(HWND parent, LPCWSTR name, DWORD style, DWORD ex_style, int x, int y,
                        int cx, int cy, HMENU menu) {
  std::wstring class_name = GetWindowClassName();
  if (GetSuperClassName() != nullptr) {
    if (!RegisterSuperclass()) return nullptr;
    class_name += kSuperclassSuffix;
  } else if (!RegisterWindowClass()) {
    return nullptr;
  }
  hwnd_ = ::CreateWindowExW(ex_style, class_name.c_str(), name, style, x, y, cx, cy, parent, menu,
                            ::GetModuleHandleW(nullptr), this);
  return hwnd_;
}

void CWindowWnd::ShowWindow(bool show, bool take_focus) {
  if (hwnd_ == nullptr) return;
  ::ShowWindow(hwnd_, show ? (take_focus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

void CWindowWnd::CenterWindow() {
  RECT window{};
  ::GetWindowRect(hwnd_, &window);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& area = monitor.rcWork;
  int width = window.right - window.left;
  int height = window.bottom - window.top;
  int x = area.left + (area.right - area.left - width) / 2;
  int y = area.top + (area.bottom - area.top - height) / 2;
  ::SetWindowPos(hwnd_, nullptr, x < area.left ? area.left : x, y < area.top ? area.top : y, -1, -1,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcon(UINT resource_id) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  auto load = [&](int metric_x, int metric_y) {
    return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(resource_id), IMAGE_ICON,
                                           ::GetSystemMetrics(metric_x),
                                           ::GetSystemMetrics(metric_y), LR_DEFAULTCOLOR));
  };
  if (HICON big = load(SM_CXICON, SM_CYICON)) {
    ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  }
  if (HICON small = load(SM_CXSMICON, SM_CYSMICON)) {
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  }
}

LRESULT CWindowWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::CallWindowProcW(super_proc_, hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWindowWnd* self = nullptr;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    self = static_cast<CWindowWnd*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (self == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    LRESULT result = self->HandleMessage(message, wParam, lParam);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->OnFinalMessage(hwnd);
    return result;
  }
  return self->HandleMessage(message, wParam, lParam);
}

int RunMessageLoop() {
  MSG msg{};
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace ui
