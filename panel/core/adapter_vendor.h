// The display adapter's maker, told from the adapter's description.
#pragma once
#include <string_view>

#include "platform/debug_output.h"

namespace panel {

inline constexpr int kAdapterVendorAti = 1;
inline constexpr int kAdapterVendorNvidia = 2;
inline constexpr int kAdapterVendorOther = 3;

// Writes the description; kAdapterVendorAti when its upper-case form contains "ATI", else
// kAdapterVendorNvidia for "NVIDIA", else kAdapterVendorOther.
int AdapterVendorCheck(std::u16string_view description, platform::DebugOutput& debug);

}  // namespace panel
