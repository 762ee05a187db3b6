// A window handle as an opaque value, shared by the sound and the frame window ports.
#pragma once
#include <cstdint>

namespace audio {

using WindowHandle = uintptr_t;

}  // namespace audio
