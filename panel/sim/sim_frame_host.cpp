#include "panel/sim/sim_frame_host.h"

#include <cstdio>

namespace panel::sim {

void SimWindowTimers::SetTimer(uint32_t id, uint32_t period_ms) {
  log_.Add("SetTimer " + std::to_string(id) + " " + std::to_string(period_ms));
  due_[id] = {now_ms_ + period_ms, period_ms};
}

void SimWindowTimers::KillTimer(uint32_t id) {
  log_.Add("KillTimer " + std::to_string(id));
  due_.erase(id);
}

std::optional<uint64_t> SimWindowTimers::NextDue() const {
  std::optional<uint64_t> next;
  for (const auto& [id, armed] : due_) {
    if (!next || armed.due < *next) next = armed.due;
  }
  return next;
}

std::optional<uint32_t> SimWindowTimers::TakeDue(uint64_t now_ms) {
  for (auto& [id, armed] : due_) {
    if (armed.due <= now_ms) {
      armed.due = now_ms + armed.period;
      return id;
    }
  }
  return std::nullopt;
}

void SimFrameWindow::Resize(int width, int height) {
  log_.Add("Resize " + std::to_string(width) + " " + std::to_string(height));
  port_.SetClientRect({0, 0, width, height});
}

void SimFrameWindow::Show(bool show, bool take_focus) {
  log_.Add(std::string("Show ") + (show ? "1" : "0") + (take_focus ? " 1" : " 0"));
  visible_ = show;
}

void SimFrameWindow::Hide() {
  log_.Add("Hide");
  visible_ = false;
}

void SimFrameWindow::SysCommand(uint32_t command) {
  char text[32];
  std::snprintf(text, sizeof text, "SysCommand %04X", static_cast<unsigned>(command));
  log_.Add(text);
}

void SimFrameWindow::PostQuit(int exit_code) {
  log_.Add("PostQuit " + std::to_string(exit_code));
  quit_code_ = exit_code;
}

void SimTrayIcon::AddIcon(std::u16string_view tip) {
  log_.Add("AddIcon " + LogText(tip));
  ++icons_added_;
}

void SimTrayIcon::RemoveIcon() { log_.Add("RemoveIcon"); }

int32_t SimTrayIcon::TrackMenuAtCursor(std::u16string_view item_text, int32_t command) {
  log_.Add("TrackMenu " +
           std::string(item_text == kExitMenuText ? "<exit item>" : LogText(item_text)) + " " +
           std::to_string(command));
  return pick_item_ ? command : 0;
}

void SimTrayIcon::SetForeground() { log_.Add("SetForeground"); }

void SimTrayIcon::SendNull() { log_.Add("SendNull"); }

}  // namespace panel::sim
