// The framework's window system on user32: other top-level windows and their properties,
// registered messages, and the hidden CMainFrame with its message loop.
#pragma once
#include <windows.h>

#include <memory>

#include "audio/core/frame_window.h"
#include "audio/win32/main_frame.h"

namespace audio::win32 {

class Win32FrameWindowSystem : public audio::FrameWindowSystem {
 public:
  explicit Win32FrameWindowSystem(HINSTANCE instance) : instance_(instance) {}

  uint32_t RegisterMessage(std::u16string_view name) override;
  std::vector<audio::WindowHandle> TopLevelWindows() override;
  uintptr_t Property(audio::WindowHandle window, std::u16string_view name) override;
  void SetForeground(audio::WindowHandle window) override;
  void SetRegistryKey(std::u16string_view name) override;
  bool CreateMainFrame(uint32_t resource_id, uint32_t style, audio::FrameEvents& events) override;
  void SetFrameText(std::u16string_view text) override;
  bool SetFrameProperty(std::u16string_view name, uintptr_t value) override;
  void ShowFrame(audio::ShowCommand command) override;
  void UpdateFrame() override;
  void ShowOwnedPopups(bool show) override;
  void MoveFrameToBottom() override;
  void DestroyFrame() override;
  void DetachFrame() override;
  int RunMessageLoop() override;

 private:
  HWND FrameWindow() const { return frame_ ? frame_->hwnd() : nullptr; }

  HINSTANCE instance_;
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace audio::win32
