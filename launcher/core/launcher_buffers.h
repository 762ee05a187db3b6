// The fixed text buffers of the launcher, in characters including the terminating zero.
#pragma once
#include <cstddef>

namespace launcher {

// Paths, command parameters and search patterns.
inline constexpr size_t kPathBufferChars = 260;
// The driver removal tool's file name.
inline constexpr size_t kToolNameBufferChars = 32;

}  // namespace launcher
