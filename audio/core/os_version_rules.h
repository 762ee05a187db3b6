// Which Windows the program runs on, as far as its choice of mechanisms goes.
#pragma once
#include <cstdint>

#include "platform/os_version.h"

namespace audio {

// Selects the audio policy object: 1 on Windows 6.0, 2 on 6.1, 0 on any other version.
using OsPolicyClass = uint32_t;
inline constexpr OsPolicyClass kNoPolicyClass = 0;
inline constexpr OsPolicyClass kPolicyClassVista = 1;
inline constexpr OsPolicyClass kPolicyClassWindows7 = 2;

// The extended version record, else the basic one; 0 when both are refused.
OsPolicyClass ComputeOsPolicyClass(platform::OsVersion& os);

struct ProgramOsVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t platform_id = 0;
};

// The basic record, read at start-up. A refused query leaves every field 0, which selects
// the registry mechanism.
ProgramOsVersion ReadProgramOsVersion(platform::OsVersion& os);

// Major version 5 or less keeps the default playback device in the Sound Mapper values.
constexpr bool UsesSoundMapper(const ProgramOsVersion& version) { return version.major <= 5; }

}  // namespace audio
