// The Windows side of the audio ports: the device installer and device files, the driver's
// mapping, and DirectSound 8.
#pragma once
#include <memory>

#include "audio/core/device_ports.h"
#include "audio/core/direct_sound_ports.h"
#include "audio/core/shared_memory_port.h"

namespace audio::win32 {

// SetupAPI's wide functions, CreateFileW and DeviceIoControl.
class Win32DeviceSystem : public DeviceSystem {
 public:
  std::unique_ptr<DeviceInfoSet> PresentDevices(const platform::Guid& setup_class,
                                                platform::WinError* error) override;
  std::unique_ptr<DeviceInfoSet> InterfaceDevices(const platform::Guid& category,
                                                  std::u16string_view instance_id,
                                                  platform::WinError* error) override;
  std::unique_ptr<DeviceFile> OpenFile(std::u16string_view path,
                                       platform::WinError* error) override;
};

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
