#include "drvsetup/core/platform_flags.h"

namespace drvsetup {

std::optional<PlatformFlags> DeterminePlatform(platform::OsVersion& os_version) {
  const std::optional<platform::OsVersionRecord> version = platform::QueryVersion(os_version);
  if (!version) return std::nullopt;
  PlatformFlags flags;
  if (version->platform_id == platform::kPlatformWin32Nt) {
    flags.nt5_or_later = version->major > 4;
    flags.windows7_or_later = version->major > 6 || (version->major == 6 && version->minor != 0);
  } else if (version->platform_id != platform::kPlatformWin32Windows) {
    return std::nullopt;
  }
  flags.wow64 = os_version.IsWow64().value_or(false);
  return flags;
}

}  // namespace drvsetup
