// A model of the device installer's Media devices and of the device files behind their
// interface paths, for the virtual audio device's lookup and open.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "audio/core/device_ports.h"

namespace audio::sim {

struct SimMediaDevice {
  std::u16string instance_id;
  std::vector<std::u16string> hardware_ids;
  std::vector<std::u16string> compatible_ids;
  std::vector<std::u16string> audio_interface_paths;
};

class SimDeviceSystem : public DeviceSystem {
 public:
  void AddDevice(const SimMediaDevice& device) { devices_.push_back(device); }
  // The device file a path opens; a path without one fails with kErrorFileNotFound.
  void SetFileOpener(std::u16string path, std::function<std::unique_ptr<DeviceFile>()> opener) {
    openers_[std::move(path)] = std::move(opener);
  }
  void RemoveFile(const std::u16string& path) { openers_.erase(path); }

  bool fail_present_list = false;
  // Answer of the instance id's length query instead of the real one (0: the real one).
  uint32_t instance_id_length_answer = 0;

  uint32_t present_lists_made() const { return present_lists_made_; }
  const std::vector<std::u16string>& opened_paths() const { return opened_paths_; }

  std::unique_ptr<DeviceInfoSet> PresentDevices(const platform::Guid& setup_class,
                                                platform::WinError* error) override;
  std::unique_ptr<DeviceInfoSet> InterfaceDevices(const platform::Guid& category,
                                                  std::u16string_view instance_id,
                                                  platform::WinError* error) override;
  std::unique_ptr<DeviceFile> OpenFile(std::u16string_view path,
                                       platform::WinError* error) override;

 private:
  std::vector<SimMediaDevice> devices_;
  std::map<std::u16string, std::function<std::unique_ptr<DeviceFile>()>> openers_;
  uint32_t present_lists_made_ = 0;
  std::vector<std::u16string> opened_paths_;
};

}  // namespace audio::sim
