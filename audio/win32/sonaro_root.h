// The composition root of sonaro.exe: the process-wide objects, wired once. The device and
// its shared memory come from the caller, so a test build can put the simulated driver there
// and change nothing else.
#pragma once
#include <windows.h>

#include "audio/core/direct_sound_ports.h"
#include "audio/core/shared_memory_port.h"
#include "platform/devices.h"

namespace audio::win32 {

// Runs the program to its end; the process's exit code.
int RunSonaro(HINSTANCE instance, platform::Devices& devices,
              audio::SharedMemoryResolver& shared_memory, audio::DirectSoundSystem& direct_sound);

}  // namespace audio::win32
