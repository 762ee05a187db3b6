// The benchmark's message-sink window: its class, creation, timer and message loop.
#pragma once
#include <cstdint>
#include <string>

#include "bench/core/gdi.h"

namespace vexmark {

inline constexpr std::uint32_t kWmQuit = 0x0012;
inline constexpr std::uint32_t kWmDisplayChange = 0x007E;
inline constexpr std::uint32_t kWmTimer = 0x0113;
inline constexpr std::uint32_t kWmDwmCompositionChanged = 0x031E;
inline constexpr std::uint32_t kWsOverlappedWindow = 0x00CF0000;
inline constexpr std::uint32_t kWsKernelModeSink =
    0x90C80000;  // popup, visible, border, frame, menu
inline constexpr std::uint32_t kWsExToolWindow = 0x00000080;
inline constexpr int kCwUseDefault = static_cast<int>(0x80000000);
inline constexpr int kSwShowNormal = 1;

struct WindowMessage {
  WindowHandle window = 0;
  std::uint32_t message = 0;
  std::uint64_t wparam = 0;
  std::int64_t lparam = 0;
};

// The core's window procedure; false hands the message to the default procedure.
class WindowProcedure {
 public:
  virtual ~WindowProcedure() = default;
  virtual bool OnMessage(const WindowMessage& message) = 0;
};

struct WindowShape {
  std::uint32_t ex_style = 0;
  std::uint32_t style = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

class Windowing {
 public:
  virtual ~Windowing() = default;
  // No class style, white stock brush, no icon, cursor or menu; messages go to procedure.
  virtual bool RegisterSinkClass(const std::string& class_name, WindowProcedure& procedure) = 0;
  virtual WindowHandle CreateSinkWindow(const std::string& class_name, const std::string& title,
                                        const WindowShape& shape) = 0;
  virtual bool AdjustWindowRect(Rect& rect, std::uint32_t style) = 0;
  virtual void ShowWindow(WindowHandle window, int command) = 0;
  virtual void UpdateWindow(WindowHandle window) = 0;
  virtual void DestroyWindow(WindowHandle window) = 0;
  // May be called from any thread of the process. Returns the timer's id, 0 on failure.
  virtual std::uint64_t SetTimer(WindowHandle window, std::uint64_t id, std::uint32_t ms) = 0;
  virtual void KillTimer(WindowHandle window, std::uint64_t id) = 0;
  virtual bool PostWindowMessage(const WindowMessage& message) = 0;
  virtual void PostQuitMessage(int code) = 0;
  // Positive for a message, 0 for WM_QUIT, -1 on failure (GetMessage's answers).
  virtual int NextMessage(WindowMessage& message) = 0;
  virtual void Dispatch(const WindowMessage& message) = 0;
  virtual std::uint32_t LastError() = 0;
};

}  // namespace vexmark
