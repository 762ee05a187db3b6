// Removal of the display filter driver: its service key, its entry in the display class's
// lower filters, and its driver file.
#pragma once
#include <string_view>

#include "platform/files.h"
#include "platform/registry.h"

namespace drvsetup {

inline constexpr std::string_view kFilterDriverName = "ZynKmdFltr";
inline constexpr std::string_view kFilterServiceKey =
    "SYSTEM\\CurrentControlSet\\Services\\ZynKmdFltr";
inline constexpr std::string_view kDisplayClassKey =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}";
inline constexpr std::string_view kLowerFiltersValue = "LowerFilters";

// Stops at the first failing step, so the driver file goes only once nothing in the
// registry refers to it any more.
void RemoveFilterDriver(platform::Registry& registry, platform::Files& files);

}  // namespace drvsetup
