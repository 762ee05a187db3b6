// sonaro.exe: the program wired to the virtual audio device, its mapping and DirectSound.
#include <windows.h>

#include "audio/win32/sonaro_root.h"
#include "audio/win32/win32_audio_adapters.h"
#include "platform/win32/win32_devices.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  platform::win32::Win32Devices devices;
  audio::win32::Win32SharedMemoryResolver shared_memory;
  audio::win32::Win32DirectSoundSystem direct_sound;
  return audio::win32::RunSonaro(instance, devices, shared_memory, direct_sound);
}
