#include "audio/win32/child_view.h"

#include "audio/win32/resource.h"

namespace audio::win32 {

namespace {

constexpr wchar_t kViewClass[] = L"sonaroChildView";
// WS_CHILD | WS_VISIBLE | WS_BORDER, as the frame asks for its view.
constexpr DWORD kRequestedStyle = 0x50800000;

bool RegisterViewClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSW window_class{};
  window_class.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  window_class.lpszClassName = kViewClass;
  return RegisterClassW(&window_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool CChildView::Create(HINSTANCE instance, HWND parent) {
  if (!RegisterViewClass(instance, WindowProc)) return false;
  const DWORD style = kRequestedStyle & ~WS_BORDER;
  hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, kViewClass, nullptr, style, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)),
                          instance, nullptr);
  return hwnd_ != nullptr;
}

LRESULT CALLBACK CChildView::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    BeginPaint(hwnd, &paint);
    EndPaint(hwnd, &paint);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace audio::win32
