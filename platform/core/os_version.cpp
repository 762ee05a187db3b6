#include "platform/os_version.h"

namespace platform {

std::optional<OsVersionRecord> QueryVersion(OsVersion& os_version) {
  std::optional<OsVersionRecord> record = os_version.QueryExtended();
  if (!record) record = os_version.QueryBasic();
  return record;
}

}  // namespace platform
