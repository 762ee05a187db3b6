#include "panel/core/panel_frame.h"

#include <utility>

#include "panel/core/hint_text.h"
#include "panel/core/layout_table.h"
#include "panel/core/notification_table.h"
#include "panel/core/running_instance.h"

namespace panel {

namespace {

template <typename Kind>
Kind* Find(ui::CPaintManagerUI& manager, std::u16string_view name) {
  return dynamic_cast<Kind*>(manager.FindControl(name));
}

// Windows keeps its own bits in the low four bits of the command.
constexpr uint32_t kSysCommandMask = 0xFFF0;

}  // namespace

PanelFrame::PanelFrame(FramePorts ports, ui::CPaintManagerUI& manager)
    : ports_(std::move(ports)),
      manager_(manager),
      receivers_({ports_.library, ports_.sync, ports_.timers, ports_.shell, ports_.debug, manager},
                 [this] { HideToTray(); }) {}

PanelFrame::~PanelFrame() = default;

void PanelFrame::BindControls() {
  controls_.setbtn = manager_.FindControl(u"setbtn");
  controls_.setpos = manager_.FindControl(u"setpos");
  controls_.playlistshowbtn = manager_.FindControl(u"playlistshowbtn");
  controls_.playlist = manager_.FindControl(u"playlist");
  controls_.sliderbuffer = Find<ui::CProgressUI>(manager_, u"sliderbuffer");
  controls_.checklocalaudio = Find<ui::COptionUI>(manager_, u"checklocalaudio");
  controls_.checkextscr = Find<ui::COptionUI>(manager_, u"checkextscr");
  controls_.scrtext = manager_.FindControl(u"scrtext");
  controls_.closebtn = Find<ui::CButtonUI>(manager_, u"closebtn");
  controls_.minbtn = manager_.FindControl(u"minbtn");
  controls_.play = Find<ui::CButtonUI>(manager_, u"play");
  controls_.frame = manager_.FindControl(u"frame");
  controls_.mainpos = manager_.FindControl(u"mainpos");
  controls_.body4 = manager_.FindControl(u"body4");
  controls_.test = manager_.FindControl(u"test");
  controls_.copy = Find<ui::IListItemUI>(manager_, u"copy");
  controls_.exp = Find<ui::IListItemUI>(manager_, u"exp");
  controls_.only = Find<ui::IListItemUI>(manager_, u"only");
  controls_.setview = manager_.FindControl(u"setview");
}

int PanelFrame::OnCreate() {
  BindControls();
  receivers_.BindControls({controls_.play, controls_.closebtn, controls_.sliderbuffer,
                           controls_.checklocalaudio, controls_.checkextscr, controls_.scrtext,
                           manager_.FindControl(u"hint")});
  receivers_.ShowLibrarySettings();
  receivers_.StartPollTimerArming();
  receivers_.StartSearchAnimation();
  return 0;
}

void PanelFrame::Notify(ui::TNotifyUI& msg) {
  ui::CControlUI* sender = msg.pSender;
  const std::u16string_view name = sender ? std::u16string_view(sender->GetName()) : u"";
  const auto* item = dynamic_cast<ui::IListItemUI*>(sender);
  const bool receiver_row =
      item != nullptr && item->GetOwner() != nullptr &&
      static_cast<ui::CControlUI*>(item->GetOwner()) == manager_.FindControl(u"domainlist");

  switch (ClassifyNotification(msg.sType, name, receiver_row)) {
    case PanelAction::kNone:
      break;
    case PanelAction::kExitPanel:
      ExitPanel();
      break;
    case PanelAction::kHideToTray:
      HideToTray();
      break;
    case PanelAction::kToggleSettingsPanel:
      ToggleSettingsPanel();
      break;
    case PanelAction::kTogglePlayList:
      TogglePlayList();
      break;
    case PanelAction::kTogglePlay:
      receivers_.TogglePlay();
      break;
    case PanelAction::kSetVideoMode:
      if (auto* slider = dynamic_cast<ui::CProgressUI*>(sender)) {
        receivers_.OnVideoModeChanged(slider->GetValue());
      }
      break;
    case PanelAction::kSetLocalAudio:
      if (auto* option = dynamic_cast<ui::COptionUI*>(sender)) {
        receivers_.OnLocalAudioChanged(option->IsSelected());
      }
      break;
    case PanelAction::kSetExtensionScreen:
      if (auto* option = dynamic_cast<ui::COptionUI*>(sender)) {
        receivers_.OnExtendedScreenChanged(option->IsSelected());
      }
      break;
    case PanelAction::kActivateRow:
      receivers_.ActivateRow(*sender, msg.ptMouse);
      break;
    case PanelAction::kApplyTopology:
      ApplyTopologyChoice();
      break;
    case PanelAction::kMaximise:
      ports_.window.SysCommand(kScMaximize);
      break;
    case PanelAction::kRestore:
      ports_.window.SysCommand(kScRestore);
      break;
  }
}

void PanelFrame::ApplyTopologyChoice() {
  const auto selected = [](const ui::IListItemUI* item) { return item && item->IsSelected(); };
  const int topology =
      TopologyChoice(selected(controls_.copy), selected(controls_.exp), selected(controls_.only));
  if (topology == 0) return;
  if (ports_.apply_topology) ports_.apply_topology(topology);
  if (ui::CControlUI* mode = manager_.FindControl(u"modehint")) {
    mode->SetText(DisplayModeText(topology));
  }
}

void PanelFrame::OnTimer(uint32_t id) { receivers_.OnPollTimer(id); }

void PanelFrame::ToggleSettingsPanel() {
  const ui::Rect client = ports_.window.GetClientRect();
  const int step = settings_shown_ ? -kSettingsHeightStep : kSettingsHeightStep;
  ports_.window.Resize(client.Width(), client.Height() + step);
  if (controls_.setpos) controls_.setpos->SetVisible(!settings_shown_);
  settings_shown_ = !settings_shown_;
  ApplyLayoutRow();
}

void PanelFrame::TogglePlayList() {
  const ui::Rect client = ports_.window.GetClientRect();
  if (controls_.playlist) controls_.playlist->SetVisible(!playlist_shown_);
  const int step = playlist_shown_ ? -kPlayListWidthStep : kPlayListWidthStep;
  ports_.window.Resize(client.Width() + step, client.Height());
  playlist_shown_ = !playlist_shown_;
  ApplyLayoutRow();
}

void PanelFrame::ApplyLayoutRow() {
  const LayoutRow& row = LayoutRowFor(settings_shown_, playlist_shown_);
  if (controls_.mainpos) controls_.mainpos->SetFixedWidth(row.mainpos_width);
  if (controls_.playlist) controls_.playlist->SetFixedWidth(row.playlist_width);
  if (controls_.body4) controls_.body4->SetFixedHeight(row.body4_height);
  if (controls_.setpos) controls_.setpos->SetFixedHeight(row.setpos_height);
  if (controls_.frame) controls_.frame->SetBkImage(row.frame_background);
}

intptr_t PanelFrame::OnTrayCallback(uintptr_t icon_id, uint32_t mouse_message) {
  if (icon_id != kTrayIconId) return 1;
  if (mouse_message == kWmLButtonDblClk) {
    RemoveTrayIcon();
    ports_.window.Show(true, true);
  } else if (mouse_message == kWmRButtonUp) {
    ports_.tray.SetForeground();
    if (ports_.tray.TrackMenuAtCursor(kExitMenuText, kExitCommand) == kExitCommand) {
      ExitPanel();
    } else {
      ports_.tray.SendNull();
    }
  }
  return 0;
}

void PanelFrame::HideToTray() {
  // Hidden twice without a restore between: one icon is enough.
  if (!tray_icon_shown_) ports_.tray.AddIcon(kFrameTitle);
  tray_icon_shown_ = true;
  ports_.window.Show(false, true);
}

void PanelFrame::OnWindowShown() { RemoveTrayIcon(); }

void PanelFrame::RemoveTrayIcon() {
  if (!tray_icon_shown_) return;
  tray_icon_shown_ = false;
  ports_.tray.RemoveIcon();
}

void PanelFrame::ExitPanel() {
  // Hidden first: a library call still running may hold the end back for a moment, and a
  // window that no longer answers must not be seen meanwhile.
  ports_.window.Hide();
  RemoveTrayIcon();
  ports_.mutex.OpenReleaseClose(kInstanceMutexName);
  ports_.timers.KillTimer(kPollTimerId);
  receivers_.DestroyLibrary();
  ports_.window.PostQuit(0);
}

intptr_t PanelFrame::OnSysCommand(uint32_t command, const std::function<intptr_t()>& pass_to_base) {
  if ((command & kSysCommandMask) == kScClose) {
    ExitPanel();
    return 0;
  }
  const bool was_maximised = ports_.window.IsMaximised();
  const intptr_t result = pass_to_base();
  if (ports_.window.IsMaximised() != was_maximised) {
    if (ui::CControlUI* max_button = manager_.FindControl(u"maxbtn")) {
      max_button->SetVisible(was_maximised);
    }
    if (ui::CControlUI* restore_button = manager_.FindControl(u"restorebtn")) {
      restore_button->SetVisible(!was_maximised);
    }
  }
  return result;
}

}  // namespace panel
