#include "platform/win32/win32_sync.h"

#include <windows.h>
// The port's method, not the Windows macro.
#undef CreateEvent

#include <vector>

#include "platform/win32/scoped_handles.h"

namespace platform::win32 {

namespace {

class Win32Event : public Event {
 public:
  explicit Win32Event(HANDLE handle) : handle_(handle) {}

  void Set() override { SetEvent(handle_.get()); }
  void Reset() override { ResetEvent(handle_.get()); }
  HANDLE handle() const { return handle_.get(); }

 private:
  ScopedKernelHandle handle_;
};

class Win32Thread : public Thread {
 public:
  explicit Win32Thread(HANDLE handle) : handle_(handle) {}
  // The body may still use what its creator owns: it ends before the thread object goes.
  ~Win32Thread() override { Join(); }

  void Join() override { WaitForSingleObject(handle_.get(), INFINITE); }

 private:
  ScopedKernelHandle handle_;
};

int PriorityValue(ThreadPriority priority) {
  switch (priority) {
    case ThreadPriority::kIdle:
      return THREAD_PRIORITY_IDLE;
    case ThreadPriority::kLowest:
      return THREAD_PRIORITY_LOWEST;
    case ThreadPriority::kBelowNormal:
      return THREAD_PRIORITY_BELOW_NORMAL;
    case ThreadPriority::kNormal:
      return THREAD_PRIORITY_NORMAL;
    case ThreadPriority::kAboveNormal:
      return THREAD_PRIORITY_ABOVE_NORMAL;
    case ThreadPriority::kHighest:
      return THREAD_PRIORITY_HIGHEST;
    case ThreadPriority::kTimeCritical:
      return THREAD_PRIORITY_TIME_CRITICAL;
  }
  return THREAD_PRIORITY_NORMAL;
}

DWORD WINAPI RunBody(void* parameter) {
  const std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
  (*body)();
  return 0;
}

}  // namespace

std::unique_ptr<Event> Win32Sync::CreateEvent(bool manual_reset, bool initially_set) {
  const HANDLE handle = CreateEventW(nullptr, manual_reset, initially_set, nullptr);
  if (!handle) return nullptr;
  return std::make_unique<Win32Event>(handle);
}

void* NativeEventHandle(Event* event) {
  const auto* win32_event = dynamic_cast<const Win32Event*>(event);
  return win32_event ? win32_event->handle() : nullptr;
}

WaitResult Win32Sync::WaitAny(std::span<Event* const> events, uint32_t timeout_ms) {
  if (events.empty() || events.size() > MAXIMUM_WAIT_OBJECTS) return {};
  std::vector<HANDLE> handles;
  for (Event* event : events) {
    const auto* win32_event = dynamic_cast<const Win32Event*>(event);
    if (!win32_event) return {};
    handles.push_back(win32_event->handle());
  }
  const DWORD result = WaitForMultipleObjects(handles.size(), handles.data(), FALSE, timeout_ms);
  if (result == WAIT_TIMEOUT) return {WaitResult::Kind::kTimedOut, 0};
  if (result >= WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + handles.size()) {
    return {WaitResult::Kind::kSignalled, result - WAIT_OBJECT_0};
  }
  return {WaitResult::Kind::kFailed, 0, GetLastError()};
}

std::unique_ptr<Thread> Win32Sync::StartThread(std::function<void()> body,
                                               ThreadPriority priority) {
  auto owned_body = std::make_unique<std::function<void()>>(std::move(body));
  // Suspended until the priority is set, so the body never runs at the wrong one.
  const HANDLE handle =
      CreateThread(nullptr, 0, RunBody, owned_body.get(), CREATE_SUSPENDED, nullptr);
  if (!handle) return nullptr;
  owned_body.release();  // the thread owns it now
  SetThreadPriority(handle, PriorityValue(priority));
  ResumeThread(handle);
  return std::make_unique<Win32Thread>(handle);
}

uint32_t Win32Clock::TickCount() { return GetTickCount(); }

int64_t Win32Clock::PerformanceCounter() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

int64_t Win32Clock::PerformanceFrequency() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart;
}

void Win32Clock::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

}  // namespace platform::win32
