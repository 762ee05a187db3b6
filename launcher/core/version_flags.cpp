#include "launcher/core/version_flags.h"

#include <optional>

namespace launcher {

VersionFlags DetermineVersionFlags(platform::OsVersion& os) {
  const std::optional<platform::OsVersionRecord> record = platform::QueryVersion(os);
  VersionFlags flags;
  if (!record || record->platform_id != platform::kPlatformWin32Nt) return flags;
  flags.vista_or_later = record->major >= 6;
  flags.vista = record->major == 6 && record->minor == 0;
  flags.windows7 = record->major == 6 && record->minor == 1;
  return flags;
}

}  // namespace launcher
