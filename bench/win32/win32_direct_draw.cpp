#include "bench/win32/win32_direct_draw.h"

#include <ddraw.h>
#include <windows.h>

#include <utility>

#include "platform/com_ptr.h"

namespace vexmark::win32 {

namespace {

class Win32DirectDraw7 : public DirectDraw7 {
 public:
  explicit Win32DirectDraw7(platform::ComPtr<IDirectDraw7> object) : object_(std::move(object)) {}

  std::int32_t SetCooperativeLevelNormal() override {
    return object_->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
  }
  std::int32_t TestCooperativeLevel() override { return object_->TestCooperativeLevel(); }

 private:
  platform::ComPtr<IDirectDraw7> object_;
};

}  // namespace

std::unique_ptr<DirectDraw7> Win32DirectDrawFactory::Create() {
  platform::ComPtr<IDirectDraw7> object;
  if (FAILED(DirectDrawCreateEx(nullptr, object.put_void(), IID_IDirectDraw7, nullptr)) ||
      !object) {
    return nullptr;
  }
  return std::make_unique<Win32DirectDraw7>(std::move(object));
}

}  // namespace vexmark::win32
