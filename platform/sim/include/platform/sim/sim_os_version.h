// The operating system version a test chooses.
#pragma once
#include <optional>

#include "platform/os_version.h"

namespace platform::sim {

// Records as the systems report them (NT family, workstation).
OsVersionRecord WindowsXp();     // 5.1.2600
OsVersionRecord WindowsVista();  // 6.0.6002
OsVersionRecord Windows7();      // 6.1.7601
OsVersionRecord Windows8();      // 6.2.9200
OsVersionRecord Windows98();     // 4.10, the 9x family

class SimOsVersion : public OsVersion {
 public:
  // Both records answer with the same version; not under WOW64.
  explicit SimOsVersion(OsVersionRecord version = Windows7());
  void SetExtended(std::optional<OsVersionRecord> record);
  void SetBasic(std::optional<OsVersionRecord> record);
  void SetWow64(std::optional<bool> wow64);

  std::optional<OsVersionRecord> QueryExtended() override;
  std::optional<OsVersionRecord> QueryBasic() override;
  std::optional<bool> IsWow64() override;

 private:
  std::optional<OsVersionRecord> extended_;
  std::optional<OsVersionRecord> basic_;
  std::optional<bool> wow64_ = false;
};

}  // namespace platform::sim
