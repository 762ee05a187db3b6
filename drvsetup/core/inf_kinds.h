// The INF files the system's drivers leave in the INF folder, each recognised by a hardware
// id text and a class GUID text, both compared with exact letter case.
#pragma once
#include <string_view>

namespace drvsetup {

// The maker's USB vendor id in the network adapter's hardware id.
inline constexpr std::string_view kUsbVendorId = "1f4e";
inline constexpr std::string_view kUsbNetworkAdapterId = "USB\\VID_1f4e&PID_8500";
static_assert(kUsbNetworkAdapterId.substr(8, 4) == kUsbVendorId);

inline constexpr std::string_view kVfbddHardwareId = "ROOT\\DISPLAY\\ZYN_Vfbdd";
inline constexpr std::string_view kVqmddHardwareId = "ROOT\\DISPLAY\\ZYN_Vqmdd";
inline constexpr std::string_view kVirtualAudioHardwareId = "*VQVADSimple";

struct InfKind {
  int number;
  std::string_view class_guid;
  std::string_view hardware_id;
};

inline constexpr InfKind kInfVfbdd{1, "{4D36E968-E325-11CE-BFC1-08002BE10318}", kVfbddHardwareId};
inline constexpr InfKind kInfVqmdd{2, "{4D36E968-E325-11CE-BFC1-08002BE10318}", kVqmddHardwareId};
inline constexpr InfKind kInfUsbNetwork{3, "{4d36e972-e325-11ce-bfc1-08002be10318}",
                                        kUsbNetworkAdapterId};
inline constexpr InfKind kInfVirtualAudio{4, "{4d36e96c-e325-11ce-bfc1-08002be10318}",
                                          kVirtualAudioHardwareId};

}  // namespace drvsetup
