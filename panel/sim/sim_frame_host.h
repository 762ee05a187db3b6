// The frame window's side of the world for scenario tests: window timers on virtual time, the
// window itself (size, visibility, maximised state, quit) and the tray icon with a menu whose
// answer the test chooses. Used on the UI thread (the test's thread) only.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "panel/core/frame_window.h"
#include "panel/core/tray_icon.h"
#include "panel/core/window_timers.h"
#include "panel/sim/call_log.h"
#include "ui/sim/sim_ui_host.h"

namespace panel::sim {

class SimWindowTimers : public WindowTimers {
 public:
  explicit SimWindowTimers(CallLog& log) : log_(log) {}
  // Arming at virtual time now: the timer falls due period later, and every period after.
  void SetNow(uint64_t now_ms) { now_ms_ = now_ms; }
  void SetTimer(uint32_t id, uint32_t period_ms) override;
  void KillTimer(uint32_t id) override;

  bool IsArmed(uint32_t id) const { return due_.count(id) != 0; }
  // The earliest due time; nullopt when no timer is armed.
  std::optional<uint64_t> NextDue() const;
  // The first timer due at or before now, re-armed for its next period; nullopt when none.
  std::optional<uint32_t> TakeDue(uint64_t now_ms);

 private:
  struct Armed {
    uint64_t due;
    uint32_t period;
  };
  CallLog& log_;
  uint64_t now_ms_ = 0;
  std::map<uint32_t, Armed> due_;
};

// The window's size is the toolkit window's client rectangle, which it also resizes.
class SimFrameWindow : public FrameWindow {
 public:
  SimFrameWindow(CallLog& log, ui::sim::SimWindowPort& port) : log_(log), port_(port) {}
  ui::Rect GetClientRect() override { return port_.GetClientRect(); }
  void Resize(int width, int height) override;
  void Show(bool show, bool take_focus) override;
  void Hide() override;
  bool IsMaximised() override { return maximised_; }
  void SysCommand(uint32_t command) override;
  void PostQuit(int exit_code) override;

  void SetMaximised(bool maximised) { maximised_ = maximised; }
  bool IsVisible() const { return visible_; }
  std::optional<int> QuitCode() const { return quit_code_; }

 private:
  CallLog& log_;
  ui::sim::SimWindowPort& port_;
  bool visible_ = true;
  bool maximised_ = false;
  std::optional<int> quit_code_;
};

class SimTrayIcon : public TrayIcon {
 public:
  explicit SimTrayIcon(CallLog& log) : log_(log) {}
  void AddIcon(std::u16string_view tip) override;
  void RemoveIcon() override;
  int32_t TrackMenuAtCursor(std::u16string_view item_text, int32_t command) override;
  void SetForeground() override;
  void SendNull() override;

  // What the user picks from the next menus: the item's command, or 0 for none.
  void ChooseFromMenu(bool pick_item) { pick_item_ = pick_item; }
  int IconsAdded() const { return icons_added_; }

 private:
  CallLog& log_;
  bool pick_item_ = false;
  int icons_added_ = 0;
};

}  // namespace panel::sim
