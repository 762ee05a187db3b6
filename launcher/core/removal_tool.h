// The driver removal tool as the launcher runs it: its file name and its parameters.
#pragma once
#include <string_view>

#include "launcher/core/version_flags.h"

namespace launcher {

inline constexpr std::string_view kRemovalTool32 = "SetupOv.exe";
inline constexpr std::string_view kRemovalTool64 = "SetupOv64.exe";

// The 64-bit build on 64-bit Windows (the launcher itself is a 32-bit program under WOW64).
std::string_view RemovalToolName(bool wow64);

// Component mask 24 (virtual audio device and display filter driver) from Vista on,
// else 8 (virtual audio device only); silent in both cases.
std::string_view RemovalToolParameters(const VersionFlags& flags);

}  // namespace launcher
