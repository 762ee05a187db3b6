#include "drvsetup/win32/win32_adapters.h"
// commctrl.h needs the definitions of windows.h first.
#include <commctrl.h>

#include "platform/win32/scoped_handles.h"

namespace drvsetup::win32 {

namespace {

class Win32ProgressBar : public ProgressBar {
 public:
  explicit Win32ProgressBar(HWND window) : window_(window) {}
  void SetRange(int low, int high) override {
    SendMessageA(window_.get(), PBM_SETRANGE, 0, MAKELPARAM(low, high));
  }
  void SetStep(int step) override { SendMessageA(window_.get(), PBM_SETSTEP, step, 0); }
  void StepIt() override { SendMessageA(window_.get(), PBM_STEPIT, 0, 0); }

 private:
  platform::win32::ScopedWindow window_;
};

}  // namespace

WindowRect Win32ProgressWindows::DesktopRect() {
  RECT rect{};
  GetWindowRect(GetDesktopWindow(), &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

std::unique_ptr<ProgressBar> Win32ProgressWindows::Create(const ProgressWindowParams& params) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  HWND window = CreateWindowExA(
      WS_EX_STATICEDGE | WS_EX_TOPMOST, PROGRESS_CLASSA, params.title.c_str(),
      WS_VISIBLE | WS_CAPTION | WS_CLIPCHILDREN | PBS_SMOOTH, params.left, params.top, params.width,
      params.height, GetDesktopWindow(), nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) return nullptr;
  return std::make_unique<Win32ProgressBar>(window);
}

}  // namespace drvsetup::win32
