// The version records through GetVersionExA, and IsWow64Process looked up at run time
// (it does not exist before Windows XP SP2).
#pragma once
#include "platform/os_version.h"

namespace platform::win32 {

class Win32OsVersion : public OsVersion {
 public:
  std::optional<OsVersionRecord> QueryExtended() override;
  std::optional<OsVersionRecord> QueryBasic() override;
  std::optional<bool> IsWow64() override;
};

}  // namespace platform::win32
