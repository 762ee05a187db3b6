// The virtual audio device: finding it among the Media devices, opening it, and the four
// property requests that map and unmap the driver's shared memory.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "audio/core/driver_records.h"
#include "platform/devices.h"
#include "platform/win_error.h"

namespace audio {

// {4D36E96C-E325-11CE-BFC1-08002BE10318}
inline constexpr platform::Guid kMediaSetupClass{
    0x4D36E96C, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
// KSCATEGORY_AUDIO {65E8773E-8F56-11D0-A3B9-00A0C9223196}
inline constexpr platform::Guid kKsCategoryAudio{
    0x65E8773E, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

inline constexpr char16_t kVirtualAudioHardwareId[] = u"*VQVADSimple";
// The interface path cache, terminator included.
inline constexpr size_t kPathCacheChars = 260;
// Bytes read of each device's id list.
inline constexpr uint32_t kIdListBufferBytes = 520;

inline constexpr platform::WinError kErrorDevNotExist = 55;

class VirtualAudioDevice {
 public:
  explicit VirtualAudioDevice(platform::Devices& system) : system_(system) {}

  // Opens the device by the cached interface path, or by a fresh lookup; with a cached path
  // that no longer opens, the cache is cleared and the lookup runs once. 0 or an error code.
  platform::WinError OpenVirtualAudioDevice();
  bool IsOpen() const { return file_ != nullptr; }
  void Close() { file_.reset(); }

  // The property requests; each fails without sending when no device is open.
  bool SendQuery();
  bool SendMap(SharedAddresses* addresses);
  bool SendConfirm(const SharedAddresses& addresses);
  bool SendUnmap(const SharedAddresses& addresses);

  const std::u16string& CachedPath() const { return path_cache_; }

 private:
  platform::WinError LookUpInterfacePath(std::u16string* path);
  bool SendProperty(uint32_t id, uint32_t flags, void* value, uint32_t value_bytes);

  platform::Devices& system_;
  std::unique_ptr<platform::DeviceFile> file_;
  std::u16string path_cache_;
};

}  // namespace audio
