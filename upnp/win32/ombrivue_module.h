// The process-wide state of the library: instance handle, lock count, the creatable classes
// with their cached factories, and the service's cached type information.
#pragma once
#include <unknwn.h>
#include <windows.h>

#include <string>

#include "platform/win32/win32_debug_output.h"
#include "upnp/core/class_object_map.h"
#include "upnp/core/lock_count.h"
#include "upnp/core/type_info_cache.h"
#include "upnp/win32/service_type_info.h"

namespace upnp::win32 {

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
  TypeInfoCache<ServiceTypeInfo>& type_info() { return type_info_; }

  HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    return classes_.GetClassObject(clsid, iid, object);
  }

 private:
  HINSTANCE instance_;
  LockCount locks_;
  platform::win32::Win32DebugOutput debug_;
  ClassObjectMap<CLSID, IClassFactory> classes_;
  TypeInfoCache<ServiceTypeInfo> type_info_{&LoadServiceTypeInfo};
};

// The module of this process; valid between process attach and detach.
OmbrivueModule& Module();
void StartModule(HINSTANCE instance);
void StopModule();

}  // namespace upnp::win32
