// The sync port on kernel events, WaitForMultipleObjects and CreateThread; the clock on
// GetTickCount and the performance counter.
#pragma once
#include "platform/sync.h"

namespace platform::win32 {

// Events from WaitAny must come from a Win32Sync (any instance); others make the wait kFailed.
// Destroying a Thread waits for its body to return, so a body never outlives its owner.
class Win32Sync : public Sync {
 public:
  std::unique_ptr<Event> CreateEvent(bool manual_reset, bool initially_set) override;
  WaitResult WaitAny(std::span<Event* const> events, uint32_t timeout_ms) override;
  std::unique_ptr<Thread> StartThread(std::function<void()> body, ThreadPriority priority) override;
};

// The kernel handle of an event a Win32Sync made, for calls that signal events themselves (such
// as DirectSound's position notifications); nullptr for any other event.
void* NativeEventHandle(Event* event);

class Win32Clock : public Clock {
 public:
  uint32_t TickCount() override;
  int64_t PerformanceCounter() override;
  int64_t PerformanceFrequency() override;
  void Sleep(uint32_t milliseconds) override;
};

}  // namespace platform::win32
