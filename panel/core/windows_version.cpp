#include "panel/core/windows_version.h"

namespace panel {
namespace {

struct VersionName {
  int32_t code;
  const char* name;
};

constexpr VersionName kVersionNames[] = {
    {kWinVer95, "WIN_VER_95"},       {kWinVer98, "WIN_VER_98"},   {kWinVerMe, "WIN_VER_ME"},
    {kWinVerNt4, "WIN_VER_NT4"},     {kWinVer2k, "WIN_VER_2K"},   {kWinVerXp, "WIN_VER_XP"},
    {kWinVerXp64, "WIN_VER_XP64"},   {kWinVer2k3, "WIN_VER_2K3"}, {kWinVer2k3R2, "WIN_VER_2K3_R2"},
    {kWinVerVista, "WIN_VER_VISTA"}, {kWinVer2k8, "WIN_VER_2K8"}, {kWinVer2k8R2, "WIN_VER_2K8_R2"},
    {kWinVerWin7, "WIN_VER_WIN7"},
};

int32_t Classify(const platform::OsVersionRecord& v, SystemMetrics& metrics) {
  const bool workstation = v.product_type == platform::kProductWorkstation;
  if (v.major == 4) {
    if (v.minor == 0) {
      return v.platform_id == platform::kPlatformWin32Nt ? kWinVerNt4 : kWinVer95;
    }
    if (v.minor == 10) return kWinVer98;
    if (v.minor == 90) return kWinVerMe;
  } else if (v.major == 5) {
    if (v.minor == 0) return kWinVer2k;
    if (v.minor == 1) return kWinVerXp;
    if (v.minor == 2) {
      if (workstation) return kWinVerXp64;
      // Only asked here: the metric means something on Server 2003 alone.
      return metrics.Get(kSmServerR2) != 0 ? kWinVer2k3R2 : kWinVer2k3;
    }
  } else if (v.major == 6) {
    if (v.minor == 0) return workstation ? kWinVerVista : kWinVer2k8;
    if (v.minor == 1) return workstation ? kWinVerWin7 : kWinVer2k8R2;
  }
  return kWinVerUnknown;
}

}  // namespace

bool DetectWindowsVersion(platform::OsVersion& os_version, SystemMetrics& metrics,
                          platform::DebugOutput& debug, int32_t& code) {
  code = kWinVerUnknown;
  const std::optional<platform::OsVersionRecord> record = os_version.QueryExtended();
  if (!record) return false;
  code = Classify(*record, metrics);
  for (const VersionName& known : kVersionNames) {
    if (known.code == code) debug.Write(known.name);
  }
  return true;
}

}  // namespace panel
