// The single-instance mutex on OpenMutexW and CreateMutexW.
#pragma once
#include "panel/core/instance_mutex.h"

namespace panel::win32 {

class Win32InstanceMutex : public InstanceMutex {
 public:
  bool Exists(std::u16string_view name) override;
  CreateResult Create(std::u16string_view name) override;
  void OpenReleaseClose(std::u16string_view name) override;
};

}  // namespace panel::win32
