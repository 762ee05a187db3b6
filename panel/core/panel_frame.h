// The frame window's rules: binding the skin's controls, the notification table, the timer
// routine, the layout toggles, the tray callback, hiding to the tray, the caption buttons'
// maximised state and the shutdown sequence. The program's window class forwards to it.
#pragma once
#include <cstdint>
#include <functional>

#include "panel/core/frame_window.h"
#include "panel/core/instance_mutex.h"
#include "panel/core/receiver_model.h"
#include "panel/core/tray_icon.h"
#include "ui/notify.h"

namespace panel {

inline constexpr uint32_t kScClose = 0xF060;
inline constexpr uint32_t kScMaximize = 0xF030;
inline constexpr uint32_t kScRestore = 0xF120;

struct FramePorts {
  StreamingLibrary& library;
  platform::Sync& sync;
  WindowTimers& timers;
  FrameWindow& window;
  TrayIcon& tray;
  ShellOpen& shell;
  InstanceMutex& mutex;
  platform::DebugOutput& debug;
  // ApplyTopology with a topology value (1, 2 or 4); its answer is not used.
  std::function<int(int)> apply_topology;
};

// The controls bound by name at window creation; null where the skin lacks one.
struct FrameControls {
  ui::CControlUI* setbtn = nullptr;
  ui::CControlUI* setpos = nullptr;
  ui::CControlUI* playlistshowbtn = nullptr;
  ui::CControlUI* playlist = nullptr;
  ui::CProgressUI* sliderbuffer = nullptr;
  ui::COptionUI* checklocalaudio = nullptr;
  ui::COptionUI* checkextscr = nullptr;
  ui::CControlUI* scrtext = nullptr;
  ui::CButtonUI* closebtn = nullptr;
  ui::CControlUI* minbtn = nullptr;
  ui::CButtonUI* play = nullptr;
  ui::CControlUI* frame = nullptr;
  ui::CControlUI* mainpos = nullptr;
  ui::CControlUI* body4 = nullptr;
  ui::CControlUI* test = nullptr;
  ui::IListItemUI* copy = nullptr;
  ui::IListItemUI* exp = nullptr;
  ui::IListItemUI* only = nullptr;
  ui::CControlUI* setview = nullptr;
};

class PanelFrame final : public ui::INotifyUI {
 public:
  // The manager must have its window port and control tree (skin.xml attached) already.
  PanelFrame(FramePorts ports, ui::CPaintManagerUI& manager);
  ~PanelFrame();
  PanelFrame(const PanelFrame&) = delete;
  PanelFrame& operator=(const PanelFrame&) = delete;

  // WM_CREATE after the control tree is attached and the frame added as notifier: binds the
  // controls, shows the library's settings, starts SearchAnimation and the thread that arms
  // the poll timer. Returns 0.
  int OnCreate();

  // The notification callback.
  void Notify(ui::TNotifyUI& msg) override;
  // WM_TIMER on the window's thread.
  void OnTimer(uint32_t id);

  void ToggleSettingsPanel();
  void TogglePlayList();
  bool SettingsShown() const { return settings_shown_; }

  // WM_USER + 1: the icon identifier and the mouse message. 1 for an identifier other than
  // 101, else 0.
  intptr_t OnTrayCallback(uintptr_t icon_id, uint32_t mouse_message);
  void HideToTray();
  // The window is shown again (from the tray, or by a second start): the icon goes.
  void OnWindowShown();
  // Window hidden, tray icon removed, mutex released, poll timer killed, library shut down,
  // quit posted.
  void ExitPanel();

  // WM_SYSCOMMAND: SC_CLOSE runs ExitPanel and answers 0; any other command is passed to
  // pass_to_base, after which "maxbtn" and "restorebtn" follow a change of the maximised
  // state; the base's answer is returned.
  intptr_t OnSysCommand(uint32_t command, const std::function<intptr_t()>& pass_to_base);

  ReceiverModel& Receivers() { return receivers_; }

 private:
  void BindControls();
  void ApplyLayoutRow();
  void ApplyTopologyChoice();
  void RemoveTrayIcon();

  FramePorts ports_;
  ui::CPaintManagerUI& manager_;
  FrameControls controls_;
  bool settings_shown_ = false;
  bool playlist_shown_ = false;
  bool tray_icon_shown_ = false;
  ReceiverModel receivers_;
};

}  // namespace panel
