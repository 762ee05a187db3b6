// The desktop as the program's framework sees it: other top-level windows with their
// properties, registered messages shared by every process, the program's hidden main frame,
// and a message queue that a test fills with what other programs send.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "audio/core/frame_window.h"

namespace audio::sim {

struct SimFrame {
  uint32_t resource_id = 0;
  uint32_t style = 0;
  std::u16string text;
  std::map<std::u16string, uintptr_t> properties;
  bool visible = true;
  bool updated = false;
  bool owned_popups_shown = true;
  bool at_bottom = false;
  bool destroyed = false;
};

class SimFrameWindowSystem : public FrameWindowSystem {
 public:
  // The loop's result when the queue ran dry while the frame still existed: the real loop
  // would wait for ever.
  static constexpr int kLoopRanDry = 0x7FFF;

  // A window of another program, with its properties; its handle.
  WindowHandle AddForeignWindow(std::map<std::u16string, uintptr_t> properties);
  void FailFrameCreation() { fail_frame_creation_ = true; }

  // Queued for the message loop, in order: a registered message sent to the program's frame
  // by another program, or any other step of the test (time passing, checks).
  void QueueMessageToFrame(std::u16string name);
  void QueueStep(std::function<void()> step);
  // A WM_QUIT posted to the program's thread: the loop ends with this code, the frame alive.
  void QueueQuit(int exit_code);
  // A logoff: WM_QUERYENDSESSION, then WM_ENDSESSION with `ending`. Once that has returned
  // with TRUE the system may end the process at any moment: a step queued next sees the
  // program as the system would leave it.
  void QueueSessionEnd(bool ending);

  std::optional<WindowHandle> Foreground() const { return foreground_; }
  const std::optional<SimFrame>& Frame() const { return frame_; }
  const std::u16string& RegistryKeyName() const { return registry_key_; }
  // Messages that reached a live frame, by name.
  const std::vector<std::u16string>& DeliveredMessages() const { return delivered_; }
  // Whether the frame still reports to the application.
  bool FrameLinked() const { return events_ != nullptr; }

  uint32_t RegisterMessage(std::u16string_view name) override;
  std::vector<WindowHandle> TopLevelWindows() override;
  uintptr_t Property(WindowHandle window, std::u16string_view name) override;
  void SetForeground(WindowHandle window) override;
  void SetRegistryKey(std::u16string_view name) override;
  bool CreateMainFrame(uint32_t resource_id, uint32_t style, FrameEvents& events) override;
  void SetFrameText(std::u16string_view text) override;
  bool SetFrameProperty(std::u16string_view name, uintptr_t value) override;
  void ShowFrame(ShowCommand command) override;
  void UpdateFrame() override;
  void ShowOwnedPopups(bool show) override;
  void MoveFrameToBottom() override;
  void DestroyFrame() override;
  void DetachFrame() override;
  int RunMessageLoop() override;

 private:
  bool FrameAlive() const { return frame_ && !frame_->destroyed; }

  std::map<std::u16string, uint32_t> messages_;
  std::vector<std::map<std::u16string, uintptr_t>> foreign_windows_;
  std::optional<WindowHandle> foreground_;
  bool fail_frame_creation_ = false;
  std::optional<SimFrame> frame_;
  FrameEvents* events_ = nullptr;
  std::u16string registry_key_;
  std::deque<std::function<void()>> queue_;
  std::optional<int> quit_code_;
  std::vector<std::u16string> delivered_;
};

}  // namespace audio::sim
