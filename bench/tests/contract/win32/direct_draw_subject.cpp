#include "direct_draw_subject.h"

#include <ddraw.h>
#include <windows.h>

#include "bench/win32/win32_direct_draw.h"
#include "platform/com_ptr.h"

namespace vexmark::testing {
namespace {

class Win32DirectDrawSubject : public DirectDrawSubject {
 public:
  ~Win32DirectDrawSubject() override {
    LeaveExclusiveMode();
    if (window_) DestroyWindow(window_);
  }

  DirectDrawFactory& factory() override { return factory_; }

  void TakeExclusiveMode() override {
    window_ = CreateWindowExA(0, "STATIC", "exclusive", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window_ == nullptr ||
        FAILED(DirectDrawCreateEx(nullptr, exclusive_.put_void(), IID_IDirectDraw7, nullptr))) {
      return;
    }
    exclusive_->SetCooperativeLevel(window_, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
  }
  void LeaveExclusiveMode() override {
    if (exclusive_) exclusive_->SetCooperativeLevel(window_, DDSCL_NORMAL);
    exclusive_ = {};
  }

  // Wine 8 accepts the other object's exclusive mode but tells no one.
  bool ReportsExclusiveMode() override { return false; }

 private:
  win32::Win32DirectDrawFactory factory_;
  HWND window_ = nullptr;
  platform::ComPtr<IDirectDraw7> exclusive_;
};

}  // namespace

std::unique_ptr<DirectDrawSubject> MakeDirectDrawSubject() {
  return std::make_unique<Win32DirectDrawSubject>();
}

}  // namespace vexmark::testing
