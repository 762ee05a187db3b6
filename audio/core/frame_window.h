// The application framework's window system as start-up and the two registered messages use
// it: other top-level windows and their properties, registered messages, and the one hidden
// main frame with its message loop.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "audio/core/window_handle.h"

namespace audio {

// What the main frame reports to the application.
class FrameEvents {
 public:
  virtual ~FrameEvents() = default;
  // A registered message arrived at the frame (wParam and lParam are not used; the frame
  // answers 0).
  virtual void OnRegisteredMessage(uint32_t message) = 0;
  // The frame object is being destroyed, after its window is gone.
  virtual void OnFrameDestroyed() = 0;
  // The user's session ends (WM_ENDSESSION with TRUE): the process may be ended as soon as
  // this returns.
  virtual void OnSessionEnding() = 0;
};

enum class ShowCommand { kHide, kShow };

class FrameWindowSystem {
 public:
  virtual ~FrameWindowSystem() = default;

  // RegisterWindowMessageW: the same id for the same name in every process; 0 on failure.
  virtual uint32_t RegisterMessage(std::u16string_view name) = 0;
  // The top-level windows in enumeration order (EnumWindows).
  virtual std::vector<WindowHandle> TopLevelWindows() = 0;
  // GetPropW; 0 when the window has no such property.
  virtual uintptr_t Property(WindowHandle window, std::u16string_view name) = 0;
  virtual void SetForeground(WindowHandle window) = 0;

  // The framework's settings key name; the program stores nothing under it itself.
  virtual void SetRegistryKey(std::u16string_view name) = 0;
  // Creates the main frame and its view from the resource set, with the given style; false
  // when the frame or its view cannot be created. Events arrive from the message loop.
  virtual bool CreateMainFrame(uint32_t resource_id, uint32_t style, FrameEvents& events) = 0;
  virtual void SetFrameText(std::u16string_view text) = 0;
  virtual bool SetFrameProperty(std::u16string_view name, uintptr_t value) = 0;
  virtual void ShowFrame(ShowCommand command) = 0;
  virtual void UpdateFrame() = 0;
  virtual void ShowOwnedPopups(bool show) = 0;
  // To the bottom of the Z order without moving, sizing or activating it.
  virtual void MoveFrameToBottom() = 0;
  virtual void DestroyFrame() = 0;
  // Cuts the frame's link to its events: nothing reaches the application after this, also
  // not the frame's own end.
  virtual void DetachFrame() = 0;
  // Runs until a quit message arrives (the frame's end posts one); the exit code of the loop.
  virtual int RunMessageLoop() = 0;
};

}  // namespace audio
