// The operating system's version records and the WOW64 question.
#pragma once
#include <cstdint>
#include <optional>

namespace platform {

// Platform ids with their Windows values.
inline constexpr uint32_t kPlatformWin32s = 0;
inline constexpr uint32_t kPlatformWin32Windows = 1;  // the 9x family
inline constexpr uint32_t kPlatformWin32Nt = 2;

// Product types of the extended record.
inline constexpr uint8_t kProductWorkstation = 1;
inline constexpr uint8_t kProductDomainController = 2;
inline constexpr uint8_t kProductServer = 3;

struct OsVersionRecord {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
  uint32_t platform_id = 0;
  uint8_t product_type = 0;  // only in the extended record; 0 in the basic one
};

class OsVersion {
 public:
  virtual ~OsVersion() = default;
  // GetVersionEx with the extended record, then with the basic one.
  virtual std::optional<OsVersionRecord> QueryExtended() = 0;
  virtual std::optional<OsVersionRecord> QueryBasic() = 0;
  // IsWow64Process for the current process; nullopt when the function does not exist or fails.
  virtual std::optional<bool> IsWow64() = 0;
};

// The version the programs decide on: the extended record, else the basic one (older systems
// answer only the basic request); nullopt when neither answers.
std::optional<OsVersionRecord> QueryVersion(OsVersion& os_version);

}  // namespace platform
