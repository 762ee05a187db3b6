// Events, waits, threads and time: the kernel services the deliverables' threads are built on.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "platform/win_error.h"

namespace platform {

inline constexpr uint32_t kWaitInfinite = 0xFFFFFFFF;

class Event {
 public:
  virtual ~Event() = default;
  virtual void Set() = 0;
  virtual void Reset() = 0;
};

struct WaitResult {
  enum class Kind { kSignalled, kTimedOut, kFailed };
  Kind kind = Kind::kFailed;
  // For kSignalled: the lowest index among the signalled events.
  size_t index = 0;
  // For kFailed: the system's last error (ERROR_INVALID_PARAMETER for an unusable list).
  uint32_t error = kErrorInvalidParameter;
};

enum class ThreadPriority {
  kIdle,
  kLowest,
  kBelowNormal,
  kNormal,
  kAboveNormal,
  kHighest,
  kTimeCritical
};

class Thread {
 public:
  virtual ~Thread() = default;
  // Waits without limit until the thread's body has returned.
  virtual void Join() = 0;
};

// Time as the deliverables read it. The real one is the system's; a virtual clock in
// the simulation lets tests run time-dependent logic on virtual time.
class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since start, wrapping at 2^32 as GetTickCount does.
  virtual uint32_t TickCount() = 0;
  virtual int64_t PerformanceCounter() = 0;
  virtual int64_t PerformanceFrequency() = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;
};

class Sync {
 public:
  virtual ~Sync() = default;
  // An auto-reset event releases exactly one waiter per Set; a manual-reset one stays set.
  virtual std::unique_ptr<Event> CreateEvent(bool manual_reset, bool initially_set) = 0;
  // Waits until one of the events is signalled (consuming it when auto-reset) or the time-out
  // passes. An empty list or more than 64 events is kFailed.
  virtual WaitResult WaitAny(std::span<Event* const> events, uint32_t timeout_ms) = 0;
  // Starts the body on a new thread; nullptr when no thread can be created.
  virtual std::unique_ptr<Thread> StartThread(std::function<void()> body,
                                              ThreadPriority priority) = 0;
};

}  // namespace platform
