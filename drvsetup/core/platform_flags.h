// What start-up learns about the system it runs on.
#pragma once
#include <optional>

#include "platform/os_version.h"

namespace drvsetup {

struct PlatformFlags {
  bool nt5_or_later = false;
  bool windows7_or_later = false;  // version 6.1 or above
  bool wow64 = false;              // a 32-bit process on 64-bit Windows
};

// nullopt when the version cannot be read or the platform is neither the 9x nor the NT
// family: the program then ends at once.
std::optional<PlatformFlags> DeterminePlatform(platform::OsVersion& os_version);

}  // namespace drvsetup
