// The Windows version as the display topology tells the versions apart.
#pragma once
#include <cstdint>

#include "panel/core/system_metrics.h"
#include "platform/debug_output.h"
#include "platform/os_version.h"

namespace panel {

inline constexpr int32_t kWinVerUnknown = -1;
inline constexpr int32_t kWinVer95 = 0;
inline constexpr int32_t kWinVer98 = 1;
inline constexpr int32_t kWinVerMe = 2;
inline constexpr int32_t kWinVerNt4 = 3;
inline constexpr int32_t kWinVer2k = 4;
inline constexpr int32_t kWinVerXp = 5;
inline constexpr int32_t kWinVerXp64 = 6;
inline constexpr int32_t kWinVer2k3 = 7;
inline constexpr int32_t kWinVer2k3R2 = 8;
inline constexpr int32_t kWinVerVista = 9;
inline constexpr int32_t kWinVer2k8 = 10;
inline constexpr int32_t kWinVer2k8R2 = 11;
inline constexpr int32_t kWinVerWin7 = 12;

// Sets code to the version's code (kWinVerUnknown for a version not told apart) and writes the
// name of a known one. False only when the extended version record cannot be read.
bool DetectWindowsVersion(platform::OsVersion& os_version, SystemMetrics& metrics,
                          platform::DebugOutput& debug, int32_t& code);

}  // namespace panel
