// Makes and removes root-enumerated devices without a driver through the device installer, the
// way an installation registers a device before its driver arrives. Shared by the fake_device
// tool and the in-process contract tests, so both put the same kind of device into the system.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace fake_device {

struct ListedDevice {
  std::string instance_id;
  std::vector<std::string> hardware_ids;
};

// The first GUID registered for a setup class name, if any.
std::optional<GUID> ClassGuidByName(const std::string& class_name);
// Writes the class key that lets the name be looked up, unless the name already resolves.
bool EnsureSetupClass(const std::string& class_name, const GUID& class_guid);
// Creates a present root device ROOT\<class name>\NNNN; its instance id, or empty on failure.
std::string CreateRootDevice(const std::string& class_name, const GUID& class_guid,
                             const std::vector<std::string>& hardware_ids,
                             const std::vector<std::string>& compatible_ids);
// Removes a device through the class installer.
bool RemoveDevice(const std::string& instance_id);
// Present devices of a class with their hardware ids, in enumeration order.
std::vector<ListedDevice> ListPresentDevices(const GUID& class_guid);
// Registers an interface of the category on the device; its path, or empty on failure.
std::string CreateInterface(const std::string& instance_id, const GUID& category,
                            const std::string& reference);

}  // namespace fake_device
