#include "platform/sim/sim_os_version.h"

namespace platform::sim {

namespace {

OsVersionRecord NtWorkstation(uint32_t major, uint32_t minor, uint32_t build) {
  return {major, minor, build, kPlatformWin32Nt, kProductWorkstation};
}

}  // namespace

OsVersionRecord WindowsXp() { return NtWorkstation(5, 1, 2600); }
OsVersionRecord WindowsVista() { return NtWorkstation(6, 0, 6002); }
OsVersionRecord Windows7() { return NtWorkstation(6, 1, 7601); }
OsVersionRecord Windows8() { return NtWorkstation(6, 2, 9200); }
OsVersionRecord Windows98() { return {4, 10, 2222, kPlatformWin32Windows, 0}; }

SimOsVersion::SimOsVersion(OsVersionRecord version) : extended_(version), basic_(version) {
  // The basic record carries no product type.
  basic_->product_type = 0;
}

void SimOsVersion::SetExtended(std::optional<OsVersionRecord> record) { extended_ = record; }
void SimOsVersion::SetBasic(std::optional<OsVersionRecord> record) { basic_ = record; }
void SimOsVersion::SetWow64(std::optional<bool> wow64) { wow64_ = wow64; }

std::optional<OsVersionRecord> SimOsVersion::QueryExtended() { return extended_; }
std::optional<OsVersionRecord> SimOsVersion::QueryBasic() { return basic_; }
std::optional<bool> SimOsVersion::IsWow64() { return wow64_; }

}  // namespace platform::sim
