// The topology through the display settings of the first two display devices (every Windows
// but 7): the primary keeps its saved mode at (0, 0), the secondary takes the primary's size
// beside it ("exp") or on top of it.
#pragma once
#include <cstdint>

#include "panel/core/display_settings.h"
#include "platform/debug_output.h"

namespace panel {

inline constexpr uint32_t kTopologyInternal = 1;  // "only"
inline constexpr uint32_t kTopologyClone = 2;     // "copy"
inline constexpr uint32_t kTopologyExtend = 4;    // "exp"
inline constexpr uint32_t kTopologyExternal = 8;  // the secondary alone, sized 0

// Returns 1 when the change calls were made, 0 for an "ATI" adapter or when the first display
// device (or the primary's saved settings) could not be read.
int ApplyTopologyByDisplaySettings(DisplaySettings& settings, platform::DebugOutput& debug,
                                   uint32_t topology);

}  // namespace panel
