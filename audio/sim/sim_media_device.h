// A Media device of the simulated device tree as the virtual audio device's lookup sees it: its
// ids, and its audio interfaces with the device file behind each.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/core/device_access.h"
#include "platform/sim/sim_devices.h"
#include "platform/strings.h"

namespace audio::sim {

struct SimMediaDevice {
  std::string instance_id;
  std::vector<std::string> hardware_ids;
  std::vector<std::string> compatible_ids;
  std::vector<std::string> audio_interface_paths;
};

// Adds the device; each interface's file opens with opener, or none does without one.
inline void AddMediaDevice(platform::sim::SimDevices& devices, const SimMediaDevice& device,
                           const std::function<std::unique_ptr<platform::DeviceFile>()>& opener) {
  devices.AddDevice(
      {device.instance_id, kMediaSetupClass, device.hardware_ids, device.compatible_ids});
  for (const std::string& path : device.audio_interface_paths) {
    devices.AddInterface(kKsCategoryAudio, device.instance_id, path);
    if (opener) devices.SetDeviceFile(platform::Utf8ToUtf16(path), opener);
  }
}

}  // namespace audio::sim
