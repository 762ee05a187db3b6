#include "sync_subject.h"

#include "platform/win32/win32_sync.h"

namespace platform::testing {

std::unique_ptr<Sync> MakeSync() { return std::make_unique<win32::Win32Sync>(); }
std::unique_ptr<Clock> MakeClock() { return std::make_unique<win32::Win32Clock>(); }

}  // namespace platform::testing
