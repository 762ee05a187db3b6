// The Windows version as the launcher distinguishes it.
#pragma once
#include "platform/os_version.h"

namespace launcher {

struct VersionFlags {
  bool vista_or_later = false;  // NT family, major version 6 or above
  bool vista = false;           // 6.0
  bool windows7 = false;        // 6.1
};

// From the extended version record, or the basic one when that cannot be read. The 9x
// family and an unreadable version leave every flag clear.
VersionFlags DetermineVersionFlags(platform::OsVersion& os);

}  // namespace launcher
