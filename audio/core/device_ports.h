// The device installer and the device file, as the virtual audio device's lookup and its
// property requests use them. Each call reports as its Windows counterpart does, so a
// simulation can fail any one of them.
#pragma once
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/guid.h"
#include "platform/win_error.h"

namespace audio {

enum class DeviceIdList { kHardwareIds, kCompatibleIds };

// A device information list (SetupDiGetClassDevsW). Members are addressed by enumeration index.
class DeviceInfoSet {
 public:
  virtual ~DeviceInfoSet() = default;

  // SetupDiEnumDeviceInfo: false once index is past the last member.
  virtual bool EnumDevice(uint32_t index) = 0;
  // SetupDiGetDeviceRegistryPropertyW for an id list: the REG_MULTI_SZ bytes into buffer.
  virtual platform::WinError ReadIdList(uint32_t index, DeviceIdList list, uint8_t* buffer,
                                        uint32_t buffer_bytes) = 0;
  // SetupDiGetDeviceInstanceIdW. A buffer too small for the id and its terminator gives
  // kErrorInsufficientBuffer with *required_chars set.
  virtual platform::WinError InstanceId(uint32_t index, char16_t* buffer, uint32_t buffer_chars,
                                        uint32_t* required_chars) = 0;
  // SetupDiEnumDeviceInterfaces over the whole list: whether interface `index` of the category
  // exists (kErrorNoMoreItems when not).
  virtual platform::WinError EnumInterface(const platform::Guid& category, uint32_t index) = 0;
  // SetupDiGetDeviceInterfaceDetailW: that interface's device path, terminator included; the
  // same too-small answer as InstanceId.
  virtual platform::WinError InterfacePath(const platform::Guid& category, uint32_t index,
                                           char16_t* buffer, uint32_t buffer_chars,
                                           uint32_t* required_chars) = 0;
};

// An open device (CreateFileW); closed when dropped.
class DeviceFile {
 public:
  virtual ~DeviceFile() = default;
  // DeviceIoControl, synchronous. Only its success is reported.
  virtual bool Control(uint32_t code, const void* input, uint32_t input_bytes, void* output,
                       uint32_t output_bytes) = 0;
};

class DeviceSystem {
 public:
  virtual ~DeviceSystem() = default;

  // Present devices of a setup class; nullptr with *error set when no list can be made.
  virtual std::unique_ptr<DeviceInfoSet> PresentDevices(const platform::Guid& setup_class,
                                                        platform::WinError* error) = 0;
  // The devices with interfaces of the category, restricted to one instance id
  // (DIGCF_DEVICEINTERFACE with the id as enumerator).
  virtual std::unique_ptr<DeviceInfoSet> InterfaceDevices(const platform::Guid& category,
                                                          std::u16string_view instance_id,
                                                          platform::WinError* error) = 0;
  // CreateFileW for read and write, shared for both, OPEN_EXISTING.
  virtual std::unique_ptr<DeviceFile> OpenFile(std::u16string_view path,
                                               platform::WinError* error) = 0;
};

}  // namespace audio
