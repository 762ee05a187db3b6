#include "audio/win32/sonaro_root.h"

#include "audio/core/sonaro_app.h"
#include "audio/win32/win32_audio_policy.h"
#include "audio/win32/win32_core_audio.h"
#include "audio/win32/win32_frame_window.h"
#include "platform/win32/win32_os_version.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_sync.h"

namespace audio::win32 {

int RunSonaro(HINSTANCE instance, platform::Devices& devices,
              audio::SharedMemoryResolver& shared_memory, audio::DirectSoundSystem& direct_sound) {
  platform::win32::Win32OsVersion os_version;
  platform::win32::Win32Registry registry;
  platform::win32::Win32Sync sync;
  platform::win32::Win32Clock clock;
  Win32FrameWindowSystem windows(instance);
  Win32ComRuntime com;
  Win32CoreAudio core_audio;
  Win32AudioPolicy policy;
  audio::CsonaroApp app({os_version, windows, devices, shared_memory, direct_sound, sync, clock,
                         registry, com, core_audio, policy});
  const int exit_code = app.Run();
  // What the process does at exit, after the application object's run.
  app.RunExitAction();
  return exit_code;
}

}  // namespace audio::win32
