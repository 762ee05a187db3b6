#include "audio/win32/main_frame.h"

#include <array>

#include "audio/win32/about_dlg.h"
#include "audio/win32/resource.h"

namespace audio::win32 {

namespace {

constexpr wchar_t kFrameClass[] = L"sonaroMainFrame";
// The framework's frame style bits: not window styles, never passed to the system.
constexpr DWORD kFwsAddToTitle = 0x00008000;
// Whatever style the frame is loaded with, it is created with a caption only.
constexpr DWORD kFrameCreateStyle = WS_CAPTION | kFwsAddToTitle;
// Registered window messages take ids from this range.
constexpr UINT kFirstRegisteredMessage = 0xC000;
constexpr UINT kLastRegisteredMessage = 0xFFFF;

bool RegisterFrameClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.lpszClassName = kFrameClass;
  return RegisterClassW(&window_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

CMainFrame::CMainFrame(HINSTANCE instance, audio::FrameEvents& events)
    : instance_(instance), events_(&events) {}

CMainFrame::~CMainFrame() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  if (accelerators_ != nullptr) DestroyAcceleratorTable(accelerators_);
}

bool CMainFrame::LoadFrame(UINT resource_id, DWORD /*style*/) {
  if (!RegisterFrameClass(instance_, WindowProc)) return false;
  std::array<wchar_t, 260> title{};
  LoadStringW(instance_, resource_id, title.data(), static_cast<int>(title.size()));
  HMENU menu = LoadMenuW(instance_, MAKEINTRESOURCEW(resource_id));
  accelerators_ = LoadAcceleratorsW(instance_, MAKEINTRESOURCEW(resource_id));
  const DWORD style = kFrameCreateStyle & ~kFwsAddToTitle;
  const HWND created =
      CreateWindowExW(0, kFrameClass, title.data(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu, instance_, this);
  if (created == nullptr && menu != nullptr) DestroyMenu(menu);
  return created != nullptr;
}

LRESULT CALLBACK CMainFrame::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* frame =
        static_cast<CMainFrame*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    frame->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(frame));
  }
  auto* frame = reinterpret_cast<CMainFrame*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (frame == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
  return frame->OnMessage(message, wparam, lparam);
}

LRESULT CMainFrame::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  const HWND hwnd = hwnd_;
  switch (message) {
    case WM_CREATE:
      return view_.Create(instance_, hwnd) ? 0 : -1;
    case WM_SETFOCUS:
      if (view_.hwnd() != nullptr) SetFocus(view_.hwnd());
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      if (events_ != nullptr) events_->OnFrameDestroyed();
      return DefWindowProcW(hwnd, message, wparam, lparam);
    case WM_ENDSESSION:
      // Once this returns the system may end the process without another message.
      if (wparam != FALSE && events_ != nullptr) events_->OnSessionEnding();
      return 0;
  }
  if (message >= kFirstRegisteredMessage && message <= kLastRegisteredMessage) {
    if (events_ != nullptr) events_->OnRegisteredMessage(message);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

void CMainFrame::OnCommand(WORD command) {
  if (view_.OnCommand(command)) return;
  if (command == ID_APP_ABOUT) {
    CAboutDlg::DoModal(instance_, hwnd_);
  } else if (command == ID_APP_EXIT) {
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
  }
}

}  // namespace audio::win32
