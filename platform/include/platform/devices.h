// The device installer: setup classes, present devices with their ids, device interfaces, and
// removal through the class installer. Shaped after the calls the removal tool and the audio
// program make, so each of them can fail on its own as on Windows.
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
  // Device interface paths of a category that belong to one device instance.
  virtual std::vector<std::string> InterfacePaths(const Guid& interface_category,
                                                  std::string_view instance_id) = 0;
};

}  // namespace platform
