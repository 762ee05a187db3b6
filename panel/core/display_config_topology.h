// The topology through the display-configuration interface (Windows 7): a dump of the current
// configuration, then SetDisplayConfig with the topology as its flags.
#pragma once
#include <cstdint>

#include "panel/core/display_config_library.h"
#include "platform/debug_output.h"

namespace panel {

// The name written for a SetDisplayConfig result.
const char* SetDisplayConfigResultName(int32_t result);

// Returns 1 when SetDisplayConfig was called, 0 when user32 lacks the functions.
int ApplyTopologyByDisplayConfig(DisplayConfigLibrary& library, platform::DebugOutput& debug,
                                 uint32_t topology);

}  // namespace panel
