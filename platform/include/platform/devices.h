// The device installer: setup classes, present devices with their ids, device interfaces,
// removal through the class installer, and the device files behind interface paths. Shaped after
// the calls the removal tool makes (8-bit text) and those the audio program makes (wide text),
// so each of them can fail on its own as on Windows.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/guid.h"
#include "platform/win_error.h"

namespace platform {

enum class DeviceProperty { kHardwareIds, kCompatibleIds };

// A device information list, as SetupDiGetClassDevs or SetupDiCreateDeviceInfoList builds it.
// Members are addressed by their enumeration index.
class DeviceInfoList {
 public:
  virtual ~DeviceInfoList() = default;

  // Adds the device with this instance id to the list (SetupDiOpenDeviceInfo).
  virtual bool OpenDevice(std::string_view instance_id) = 0;
  // Reads the list's details (SetupDiGetDeviceInfoListDetail); false on failure.
  virtual bool ReadDetails() = 0;
  // false once index is past the last member (SetupDiEnumDeviceInfo).
  virtual bool EnumDevice(uint32_t index) = 0;
  // The instance id, or false when it cannot be read or does not fit max_chars characters.
  virtual bool InstanceId(uint32_t index, size_t max_chars, std::string* id) = 0;
  // SetupDiGetDeviceRegistryProperty semantics: the property's bytes into data (size bytes);
  // kErrorInsufficientBuffer with *required set when too small; kErrorInvalidData when the
  // device has no such property. *type is the stored value type.
  virtual WinError RegistryProperty(uint32_t index, DeviceProperty property, uint32_t* type,
                                    uint8_t* data, uint32_t size, uint32_t* required) = 0;
  // Sets the class install parameters for DIF_REMOVE with global scope, hardware profile 0.
  virtual bool SetRemoveParams(uint32_t index) = 0;
  // Calls the class installer with DIF_REMOVE.
  virtual bool CallClassInstallerRemove(uint32_t index) = 0;
  // Reads the install parameters: whether DI_NEEDREBOOT or DI_NEEDRESTART is set.
  virtual bool NeedsRestart(uint32_t index, bool* needs_restart) = 0;

  // The wide calls. SetupDiGetDeviceRegistryPropertyW: as RegistryProperty, the ids in UTF-16.
  virtual WinError WideRegistryProperty(uint32_t index, DeviceProperty property, uint32_t* type,
                                        uint8_t* data, uint32_t size, uint32_t* required) = 0;
  // SetupDiGetDeviceInstanceIdW. A buffer too small for the id and its terminator gives
  // kErrorInsufficientBuffer with *required_chars set.
  virtual WinError WideInstanceId(uint32_t index, char16_t* buffer, uint32_t buffer_chars,
                                  uint32_t* required_chars) = 0;
  // SetupDiEnumDeviceInterfaces over the whole list: whether interface `index` of the category
  // exists (kErrorNoMoreItems when not).
  virtual WinError EnumInterface(const Guid& category, uint32_t index) = 0;
  // SetupDiGetDeviceInterfaceDetailW: that interface's device path, terminator included; the
  // same too-small answer as WideInstanceId.
  virtual WinError WideInterfacePath(const Guid& category, uint32_t index, char16_t* buffer,
                                     uint32_t buffer_chars, uint32_t* required_chars) = 0;
};

// An open device (CreateFileW); closed when dropped.
class DeviceFile {
 public:
  virtual ~DeviceFile() = default;
  // DeviceIoControl, synchronous. Only its success is reported.
  virtual bool Control(uint32_t code, const void* input, uint32_t input_bytes, void* output,
                       uint32_t output_bytes) = 0;
};

class Devices {
 public:
  virtual ~Devices() = default;

  // SetupDiClassGuidsFromNameEx: the GUIDs registered for a setup class name. An unknown name is
  // success with no GUIDs.
  virtual WinError ClassGuidsFromName(std::string_view class_name, std::vector<Guid>* guids) = 0;
  // Present devices of a class; nullptr when the list cannot be built.
  virtual std::unique_ptr<DeviceInfoList> PresentDevices(const Guid& class_guid) = 0;
  // An empty list bound to a class; nullptr on failure.
  virtual std::unique_ptr<DeviceInfoList> CreateEmptyList(const Guid& class_guid) = 0;

  // The wide calls. Present devices of a class (SetupDiGetClassDevsW); nullptr when the list
  // cannot be built.
  virtual std::unique_ptr<DeviceInfoList> WidePresentDevices(const Guid& class_guid) = 0;
  // The devices with interfaces of the category, restricted to one instance id
  // (DIGCF_DEVICEINTERFACE with the id as enumerator); nullptr with *error set on failure.
  virtual std::unique_ptr<DeviceInfoList> InterfaceDevices(const Guid& category,
                                                           std::u16string_view instance_id,
                                                           WinError* error) = 0;
  // CreateFileW for read and write, shared for both, OPEN_EXISTING; nullptr with *error set.
  virtual std::unique_ptr<DeviceFile> OpenDeviceFile(std::u16string_view path, WinError* error) = 0;
};

}  // namespace platform
