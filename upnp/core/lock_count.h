// The module's lock count: live objects and server locks keep the library loaded.
#pragma once
#include <atomic>
#include <cstdint>

#include "platform/hresult.h"

namespace upnp {

class LockCount {
 public:
  void Lock() { count_.fetch_add(1); }
  void Unlock() { count_.fetch_sub(1); }
  int32_t Value() const { return count_.load(); }
  // DllCanUnloadNow's answer.
  platform::HResult CanUnloadNow() const {
    return count_.load() == 0 ? platform::kSOk : platform::kSFalse;
  }

 private:
  std::atomic<int32_t> count_{0};
};

}  // namespace upnp
