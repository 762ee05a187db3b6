#include "audio/core/os_version_rules.h"

namespace audio {

OsPolicyClass ComputeOsPolicyClass(platform::OsVersion& os) {
  const auto record = platform::QueryVersion(os);
  if (!record || record->major != 6) return kNoPolicyClass;
  switch (record->minor) {
    case 0:
      return kPolicyClassVista;
    case 1:
      return kPolicyClassWindows7;
    default:
      return kNoPolicyClass;
  }
}

ProgramOsVersion ReadProgramOsVersion(platform::OsVersion& os) {
  const auto record = os.QueryBasic();
  if (!record) return {};
  return {record->major, record->minor, record->platform_id};
}

}  // namespace audio
