// The media sharing service's device entry for the receiver: without it the service does
// not render to the receiver model.
#pragma once
#include <string_view>

#include "platform/registry.h"

namespace launcher {

// Below HKEY_LOCAL_MACHINE; the last three parts name the receiver's maker, product line and
// version.
inline constexpr std::string_view kMediaSharingKey =
    "SOFTWARE\\Microsoft\\Windows Media Player NSS\\3.0\\DeviceShims\\"
    "Velquor Technologies, Inc.\\Kestrova\\1.0";
inline constexpr std::string_view kRenderAllValue = "RenderAll";

// Creates or opens the key in the 64-bit registry view and sets "RenderAll" to DWORD 1.
platform::WinError WriteMediaSharingValue(platform::Registry& registry);

}  // namespace launcher
