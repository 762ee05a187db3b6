// The sink window on the real window manager: class, window, timer and message loop.
#pragma once
#include "bench/core/windowing.h"

namespace vexmark::win32 {

class Win32Windowing : public Windowing {
 public:
  explicit Win32Windowing(void* instance) : instance_(instance) {}

  bool RegisterSinkClass(const std::string& class_name, WindowProcedure& procedure) override;
  WindowHandle CreateSinkWindow(const std::string& class_name, const std::string& title,
                                const WindowShape& shape) override;
  bool AdjustWindowRect(Rect& rect, std::uint32_t style) override;
  void ShowWindow(WindowHandle window, int command) override;
  void UpdateWindow(WindowHandle window) override;
  void DestroyWindow(WindowHandle window) override;
  std::uint64_t SetTimer(WindowHandle window, std::uint64_t id, std::uint32_t ms) override;
  void KillTimer(WindowHandle window, std::uint64_t id) override;
  bool PostWindowMessage(const WindowMessage& message) override;
  void PostQuitMessage(int code) override;
  int NextMessage(WindowMessage& message) override;
  void Dispatch(const WindowMessage& message) override;
  std::uint32_t LastError() override;

  WindowProcedure* procedure() const { return procedure_; }

 private:
  void* instance_;
  WindowProcedure* procedure_ = nullptr;
};

}  // namespace vexmark::win32
