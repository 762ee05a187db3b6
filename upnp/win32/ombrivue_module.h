// The process-wide state of the library: instance handle, lock count, the object map's
// class factory cache, the two module locks and the clean-up callbacks run at termination.
#pragma once
#include <unknwn.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/win32_debug_output.h"
#include "upnp/lock_count.h"

namespace upnp::win32 {

// A critical section held for one scope.
class ScopedLock {
 public:
  explicit ScopedLock(CRITICAL_SECTION& section) : section_(section) {
    EnterCriticalSection(&section_);
  }
  ~ScopedLock() { LeaveCriticalSection(&section_); }
  ScopedLock(const ScopedLock&) = delete;
  ScopedLock& operator=(const ScopedLock&) = delete;

 private:
  CRITICAL_SECTION& section_;
};

// One creatable class of the library.
struct ObjectMapEntry {
  const CLSID* clsid;
  HRESULT (*create_factory)(IClassFactory** factory);
  IClassFactory* factory;  // created on first request, kept until termination
};

class OmbrivueModule {
 public:
  explicit OmbrivueModule(HINSTANCE instance);
  ~OmbrivueModule();
  OmbrivueModule(const OmbrivueModule&) = delete;
  OmbrivueModule& operator=(const OmbrivueModule&) = delete;

  HINSTANCE instance() const { return instance_; }
  // The library's full path, as Windows reports it for the instance handle.
  std::u16string ModulePath() const;
  LockCount& locks() { return locks_; }
  platform::DebugOutput& debug() { return debug_; }
  CRITICAL_SECTION& type_info_lock() { return type_info_lock_; }
  std::vector<ObjectMapEntry>& object_map() { return object_map_; }

  HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object);
  void AddTermination(std::function<void()> callback);

 private:
  HINSTANCE instance_;
  LockCount locks_;
  platform::win32::Win32DebugOutput debug_;
  CRITICAL_SECTION factory_lock_;
  CRITICAL_SECTION type_info_lock_;
  std::vector<ObjectMapEntry> object_map_;
  std::vector<std::function<void()>> terminations_;
};

// The module of this process; valid between process attach and detach.
OmbrivueModule& Module();
void StartModule(HINSTANCE instance);
void StopModule();

}  // namespace upnp::win32
