#include "audio/sim/sim_frame_window.h"

namespace audio::sim {

namespace {

// Registered messages take ids from this range on Windows.
constexpr uint32_t kFirstRegisteredMessage = 0xC000;
// Handles of other programs' windows; the program's own frame has handle 1.
constexpr WindowHandle kFrameHandle = 1;
constexpr WindowHandle kFirstForeignHandle = 0x100;

}  // namespace

WindowHandle SimFrameWindowSystem::AddForeignWindow(
    std::map<std::u16string, uintptr_t> properties) {
  foreign_windows_.push_back(std::move(properties));
  return kFirstForeignHandle + foreign_windows_.size() - 1;
}

void SimFrameWindowSystem::QueueMessageToFrame(std::u16string name) {
  queue_.push_back([this, name] {
    if (!FrameAlive() || events_ == nullptr) return;
    delivered_.push_back(name);
    events_->OnRegisteredMessage(RegisterMessage(name));
  });
}

void SimFrameWindowSystem::QueueStep(std::function<void()> step) {
  queue_.push_back(std::move(step));
}

void SimFrameWindowSystem::QueueQuit(int exit_code) {
  queue_.push_back([this, exit_code] { quit_code_ = exit_code; });
}

void SimFrameWindowSystem::QueueSessionEnd(bool ending) {
  queue_.push_back([this, ending] {
    // The query is answered TRUE by the frame's default handling; only the end reaches the
    // application.
    if (ending && FrameAlive() && events_ != nullptr) events_->OnSessionEnding();
  });
}

uint32_t SimFrameWindowSystem::RegisterMessage(std::u16string_view name) {
  const auto [it, added] = messages_.try_emplace(
      std::u16string(name), kFirstRegisteredMessage + static_cast<uint32_t>(messages_.size()));
  return it->second;
}

std::vector<WindowHandle> SimFrameWindowSystem::TopLevelWindows() {
  std::vector<WindowHandle> windows;
  for (size_t i = 0; i < foreign_windows_.size(); ++i) windows.push_back(kFirstForeignHandle + i);
  if (FrameAlive()) windows.push_back(kFrameHandle);
  return windows;
}

uintptr_t SimFrameWindowSystem::Property(WindowHandle window, std::u16string_view name) {
  const std::map<std::u16string, uintptr_t>* properties = nullptr;
  if (window == kFrameHandle && FrameAlive()) {
    properties = &frame_->properties;
  } else if (window >= kFirstForeignHandle &&
             window - kFirstForeignHandle < foreign_windows_.size()) {
    properties = &foreign_windows_[window - kFirstForeignHandle];
  }
  if (properties == nullptr) return 0;
  const auto it = properties->find(std::u16string(name));
  return it == properties->end() ? 0 : it->second;
}

void SimFrameWindowSystem::SetForeground(WindowHandle window) { foreground_ = window; }

void SimFrameWindowSystem::SetRegistryKey(std::u16string_view name) { registry_key_ = name; }

bool SimFrameWindowSystem::CreateMainFrame(uint32_t resource_id, uint32_t style,
                                           FrameEvents& events) {
  if (fail_frame_creation_) return false;
  frame_ = SimFrame{};
  frame_->resource_id = resource_id;
  frame_->style = style;
  events_ = &events;
  return true;
}

void SimFrameWindowSystem::SetFrameText(std::u16string_view text) {
  if (FrameAlive()) frame_->text = text;
}

bool SimFrameWindowSystem::SetFrameProperty(std::u16string_view name, uintptr_t value) {
  if (!FrameAlive()) return false;
  frame_->properties[std::u16string(name)] = value;
  return true;
}

void SimFrameWindowSystem::ShowFrame(ShowCommand command) {
  if (FrameAlive()) frame_->visible = command == ShowCommand::kShow;
}

void SimFrameWindowSystem::UpdateFrame() {
  if (FrameAlive()) frame_->updated = true;
}

void SimFrameWindowSystem::ShowOwnedPopups(bool show) {
  if (FrameAlive()) frame_->owned_popups_shown = show;
}

void SimFrameWindowSystem::MoveFrameToBottom() {
  if (FrameAlive()) frame_->at_bottom = true;
}

void SimFrameWindowSystem::DestroyFrame() {
  if (!FrameAlive()) return;
  frame_->destroyed = true;
  if (events_ != nullptr) events_->OnFrameDestroyed();
}

void SimFrameWindowSystem::DetachFrame() { events_ = nullptr; }

int SimFrameWindowSystem::RunMessageLoop() {
  while (FrameAlive()) {
    if (quit_code_) return *quit_code_;
    if (queue_.empty()) return kLoopRanDry;
    auto step = std::move(queue_.front());
    queue_.pop_front();
    step();
  }
  return 0;
}

}  // namespace audio::sim
