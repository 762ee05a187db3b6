// The Windows side of the audio ports: the driver's mapping and DirectSound 8.
#pragma once
#include <memory>

#include "audio/core/direct_sound_ports.h"
#include "audio/core/shared_memory_port.h"

namespace audio::win32 {

// The driver's addresses taken as addresses of this process. The readable extent of each
// region comes from VirtualQuery: the committed, readable pages of the mapping that contains
// the address, from the address to the end of the last such page.
class Win32SharedMemoryResolver : public SharedMemoryResolver {
 public:
  std::unique_ptr<SharedMemory> Resolve(const SharedAddresses& addresses) override;
};

class Win32DirectSoundSystem : public DirectSoundSystem {
 public:
  platform::HResult EnumerateDevices(
      const std::function<bool(const SoundDeviceEntry&)>& callback) override;
  platform::HResult Create(const platform::Guid* device,
                           std::unique_ptr<DirectSoundDevice>* object) override;
  WindowHandle ForegroundWindow() override;
  WindowHandle DesktopWindow() override;
};

}  // namespace audio::win32
