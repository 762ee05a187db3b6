// CAllFrameWnd: the control panel's frame window. A skinned window without a Windows caption:
// the paint manager draws and hit-tests the skin, the caption test lets the skin's header drag
// the window, and the panel's rules (PanelFrame) get the notifications, timers, tray callbacks
// and system commands.
#pragma once
#include <windows.h>

#include <memory>

#include "panel/core/panel_frame.h"
#include "panel/win32/win32_frame_window.h"
#include "panel/win32/win32_tray_icon.h"
#include "panel/win32/win32_window_timers.h"
#include "ui/paint_manager.h"
#include "ui/skin_resources.h"
#include "ui/win32/win32_ui_host.h"
#include "ui/win32/window_wnd.h"

namespace panel {

// What the frame window shares with the rest of the process.
struct FrameServices {
  StreamingLibrary& library;
  platform::Sync& sync;
  ShellOpen& shell;
  InstanceMutex& mutex;
  platform::DebugOutput& debug;
  ui::SkinResources& skin;
  ui::ImageDecoder& decoder;
};

class CAllFrameWnd : public ui::CWindowWnd, public ui::INotifyUI {
 public:
  explicit CAllFrameWnd(FrameServices services) : services_(services) {}

  void Notify(ui::TNotifyUI& msg) override;

 protected:
  LPCWSTR GetWindowClassName() const override;
  UINT GetClassStyle() const override { return CS_DBLCLKS; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The object was made with new at start-up and lives exactly as long as its window.
  void OnFinalMessage(HWND) override { delete this; }

 private:
  LRESULT OnCreate();
  void OnSize(WPARAM wParam);
  void OnGetMinMaxInfo(LPARAM lParam);
  LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
  // The screen point in client coordinates, with the client rectangle.
  ui::Point ClientPoint(LPARAM screen_point, ui::Rect* client) const;
  bool InCaption(LPARAM screen_point) const;
  LRESULT CaptionTest(LPARAM screen_point) const;
  // Offers the message to the paint manager, then to the window base.
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

  FrameServices services_;
  std::unique_ptr<ui::GdiWindowPort> port_;
  ui::CPaintManagerUI paint_manager_;
  std::unique_ptr<win32::Win32WindowTimers> timers_;
  std::unique_ptr<win32::Win32FrameWindow> window_;
  std::unique_ptr<win32::Win32TrayIcon> tray_;
  std::unique_ptr<PanelFrame> frame_;
};

}  // namespace panel
