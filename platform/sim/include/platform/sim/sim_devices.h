// A device tree a test sets up and inspects: setup classes, present devices with their ids,
// device interfaces and the device files behind them, removal through the class installer, and
// injected failures. Ids and paths are ASCII; the wide calls give them as UTF-16.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/devices.h"

namespace platform::sim {

struct SimDevice {
  std::string instance_id;
  Guid class_guid;
  std::vector<std::string> hardware_ids;
  std::vector<std::string> compatible_ids;
  bool needs_restart_after_removal = false;  // the class installer asks for a restart
  bool removal_fails = false;                // DIF_REMOVE fails for this device
  bool instance_id_unreadable = false;
};

struct DeviceFaults {
  bool class_lookup_fails = false;  // ClassGuidsFromName fails (kErrorInvalidParameter)
  bool present_list_fails = false;  // PresentDevices gives nullptr
  bool empty_list_fails = false;    // CreateEmptyList gives nullptr
  bool read_details_fails = false;
  bool set_remove_params_fails = false;
  bool read_install_params_fails = false;
  // Answer of the wide instance id's length query instead of the real one (0: the real one).
  uint32_t instance_id_length_answer = 0;
};

class SimDevices : public Devices {
 public:
  SimDevices();
  ~SimDevices() override;

  // "Display", "Media", "Net" and the other standard classes are known from the start.
  void AddSetupClass(std::string_view name, const Guid& guid);
  void AddDevice(SimDevice device);
  void AddInterface(const Guid& category, std::string_view instance_id, std::string_view path);
  DeviceFaults& faults();
  // The device file a path opens; a path without one fails with kErrorFileNotFound.
  void SetDeviceFile(std::u16string path, std::function<std::unique_ptr<DeviceFile>()> opener);
  void RemoveDeviceFile(const std::u16string& path);

  // Devices still present, in enumeration order (by instance id without regard to case, as
  // the device installer lists them), and the instance ids removed so far.
  std::vector<SimDevice> PresentDeviceList() const;
  std::vector<std::string> RemovedInstanceIds() const;
  // Lists of present devices made so far, and the paths opened, in order.
  uint32_t PresentListsMade() const;
  std::vector<std::u16string> OpenedPaths() const;

  WinError ClassGuidsFromName(std::string_view class_name, std::vector<Guid>* guids) override;
  std::unique_ptr<DeviceInfoList> PresentDevices(const Guid& class_guid) override;
  std::unique_ptr<DeviceInfoList> CreateEmptyList(const Guid& class_guid) override;
  std::unique_ptr<DeviceInfoList> WidePresentDevices(const Guid& class_guid) override;
  std::unique_ptr<DeviceInfoList> InterfaceDevices(const Guid& category,
                                                   std::u16string_view instance_id,
                                                   WinError* error) override;
  std::unique_ptr<DeviceFile> OpenDeviceFile(std::u16string_view path, WinError* error) override;

  struct Model;

 private:
  std::shared_ptr<Model> model_;
};

// The standard setup class GUIDs.
Guid DisplayClassGuid();  // {4D36E968-E325-11CE-BFC1-08002BE10318}
Guid MediaClassGuid();    // {4D36E96C-E325-11CE-BFC1-08002BE10318}
Guid NetClassGuid();      // {4D36E972-E325-11CE-BFC1-08002BE10318}

}  // namespace platform::sim
