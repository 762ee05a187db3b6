#include "panel/app/all_frame_wnd.h"

#include "panel/core/caption_test.h"
#include "panel/core/running_instance.h"
#include "panel/win32/win32_display_topology.h"
#include "platform/win32/wide_text.h"
#include "ui/dialog_builder.h"

namespace panel {
namespace {

constexpr LONG kCaptionStyleMask = static_cast<LONG>(0xFF3FFFFF);
constexpr LONG kClipStyles = 0x06000000;  // WS_CLIPSIBLINGS | WS_CLIPCHILDREN
const std::wstring kWideFrameClassName = platform::win32::ToWide(kFrameClassName);

}  // namespace

LPCWSTR CAllFrameWnd::GetWindowClassName() const { return kWideFrameClassName.c_str(); }

LRESULT CAllFrameWnd::OnCreate() {
  LONG style = ::GetWindowLongW(GetHWND(), GWL_STYLE);
  ::SetWindowLongW(GetHWND(), GWL_STYLE, (style & kCaptionStyleMask) | kClipStyles);
  port_ = std::make_unique<ui::GdiWindowPort>(GetHWND());
  paint_manager_.Init(*port_, services_.skin, services_.decoder);
  ui::CDialogBuilder builder;
  auto root = builder.Create(u"skin.xml", paint_manager_);
  if (root) paint_manager_.AttachDialog(std::move(root));
  paint_manager_.AddNotifier(this);
  timers_ = std::make_unique<win32::Win32WindowTimers>(GetHWND());
  window_ = std::make_unique<win32::Win32FrameWindow>(*this);
  tray_ = std::make_unique<win32::Win32TrayIcon>(GetHWND());
  FramePorts ports{services_.library, services_.sync,  *timers_,
                   *window_,          *tray_,          services_.shell,
                   services_.mutex,   services_.debug, win32::ApplyTopologyOnThisSystem};
  frame_ = std::make_unique<PanelFrame>(ports, paint_manager_);
  return frame_->OnCreate();
}

void CAllFrameWnd::Notify(ui::TNotifyUI& msg) {
  if (frame_) frame_->Notify(msg);
}

LRESULT CAllFrameWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate();
    case WM_CLOSE:
      // Closing must end the process: a destroyed window would leave it running without a
      // window while its mutex turns every later start away.
      if (frame_) frame_->ExitPanel();
      return 0;
    case WM_SHOWWINDOW:
      // Shown again from the tray or by a second start: the tray icon has done its work.
      if (wParam != 0 && frame_) frame_->OnWindowShown();
      return Default(message, wParam, lParam);
    case WM_SIZE:
      OnSize(wParam);
      return Default(message, wParam, lParam);
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(lParam);
      return Default(message, wParam, lParam);
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
      return 0;
    case WM_NCHITTEST:
      return CaptionTest(lParam);
    case WM_NCACTIVATE:
      if (::IsIconic(GetHWND())) return Default(message, wParam, lParam);
      return wParam == 0 ? 1 : 0;
    case WM_NCLBUTTONDBLCLK:
      // No maximise by double-click on the caption area.
      if (InCaption(lParam)) return 0;
      return Default(message, wParam, lParam);
    case WM_SYSCOMMAND:
      return OnSysCommand(wParam, lParam);
    case WM_TIMER:
      if (frame_) frame_->OnTimer(static_cast<uint32_t>(wParam));
      return 0;
    case kTrayCallbackMessage:
      if (!frame_) return 0;
      return frame_->OnTrayCallback(wParam, static_cast<uint32_t>(lParam));
    default:
      return Default(message, wParam, lParam);
  }
}

LRESULT CAllFrameWnd::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  intptr_t result = 0;
  if (paint_manager_.MessageHandler(message, wParam, lParam, result)) return result;
  return CWindowWnd::HandleMessage(message, wParam, lParam);
}

void CAllFrameWnd::OnSize(WPARAM wParam) {
  ui::Size corner = paint_manager_.GetRoundCorner();
  if (wParam == SIZE_MINIMIZED || (corner.cx == 0 && corner.cy == 0)) return;
  RECT window{};
  ::GetWindowRect(GetHWND(), &window);
  HRGN region = ::CreateRoundRectRgn(0, 0, window.right - window.left + 1,
                                     window.bottom - window.top + 1, corner.cx, corner.cy);
  // The window owns the region from here on.
  ::SetWindowRgn(GetHWND(), region, TRUE);
}

void CAllFrameWnd::OnGetMinMaxInfo(LPARAM lParam) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(GetHWND(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  const RECT& origin = monitor.rcMonitor;
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  info->ptMaxPosition = POINT{work.left - origin.left, work.top - origin.top};
  info->ptMaxSize = POINT{work.right - origin.left, work.bottom - origin.top};
}

LRESULT CAllFrameWnd::OnSysCommand(WPARAM wParam, LPARAM lParam) {
  auto pass_to_base = [&]() -> intptr_t {
    return CWindowWnd::HandleMessage(WM_SYSCOMMAND, wParam, lParam);
  };
  if (!frame_) return pass_to_base();
  return frame_->OnSysCommand(static_cast<uint32_t>(wParam), pass_to_base);
}

ui::Point CAllFrameWnd::ClientPoint(LPARAM screen_point, ui::Rect* client) const {
  POINT p{static_cast<short>(LOWORD(screen_point)), static_cast<short>(HIWORD(screen_point))};
  ::ScreenToClient(GetHWND(), &p);
  RECT r{};
  ::GetClientRect(GetHWND(), &r);
  *client = ui::Rect{r.left, r.top, r.right, r.bottom};
  return ui::Point{p.x, p.y};
}

bool CAllFrameWnd::InCaption(LPARAM screen_point) const {
  ui::Rect client;
  ui::Point point = ClientPoint(screen_point, &client);
  return InCaptionArea(point, client, paint_manager_.GetCaptionRect());
}

LRESULT CAllFrameWnd::CaptionTest(LPARAM screen_point) const {
  ui::Rect client;
  ui::Point point = ClientPoint(screen_point, &client);
  ui::CControlUI* control = paint_manager_.FindControl(point);
  std::u16string_view kind = control != nullptr ? control->GetClass() : std::u16string_view();
  return static_cast<LRESULT>(CaptionHitTest(point, client, paint_manager_.GetCaptionRect(), kind));
}

}  // namespace panel
