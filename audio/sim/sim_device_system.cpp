#include "audio/sim/sim_device_system.h"

#include <algorithm>
#include <cstring>

#include "audio/core/device_access.h"

namespace audio::sim {

namespace {

using platform::WinError;

WinError CopyText(std::u16string_view text, char16_t* buffer, uint32_t buffer_chars,
                  uint32_t* required_chars) {
  *required_chars = static_cast<uint32_t>(text.size() + 1);
  if (!buffer || buffer_chars < *required_chars) return platform::kErrorInsufficientBuffer;
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = u'\0';
  return platform::kErrorSuccess;
}

class SimInfoSet : public DeviceInfoSet {
 public:
  SimInfoSet(std::vector<SimMediaDevice> devices, uint32_t length_answer)
      : devices_(std::move(devices)), length_answer_(length_answer) {}

  bool EnumDevice(uint32_t index) override { return index < devices_.size(); }

  WinError ReadIdList(uint32_t index, DeviceIdList list, uint8_t* buffer,
                      uint32_t buffer_bytes) override {
    if (index >= devices_.size()) return platform::kErrorNoMoreItems;
    const auto& ids = list == DeviceIdList::kHardwareIds ? devices_[index].hardware_ids
                                                         : devices_[index].compatible_ids;
    if (ids.empty()) return platform::kErrorInvalidData;
    std::u16string multi;
    for (const std::u16string& id : ids) multi += id + u'\0';
    multi += u'\0';
    if (multi.size() * 2 > buffer_bytes) return platform::kErrorInsufficientBuffer;
    std::memcpy(buffer, multi.data(), multi.size() * 2);
    return platform::kErrorSuccess;
  }

  WinError InstanceId(uint32_t index, char16_t* buffer, uint32_t buffer_chars,
                      uint32_t* required_chars) override {
    if (index >= devices_.size()) return platform::kErrorNoMoreItems;
    const WinError error =
        CopyText(devices_[index].instance_id, buffer, buffer_chars, required_chars);
    if (!buffer && length_answer_ != 0) *required_chars = length_answer_;
    return error;
  }

  WinError EnumInterface(const platform::Guid&, uint32_t index) override {
    return index < Paths().size() ? platform::kErrorSuccess : platform::kErrorNoMoreItems;
  }

  WinError InterfacePath(const platform::Guid&, uint32_t index, char16_t* buffer,
                         uint32_t buffer_chars, uint32_t* required_chars) override {
    if (index >= Paths().size()) return platform::kErrorNoMoreItems;
    return CopyText(Paths()[index], buffer, buffer_chars, required_chars);
  }

 private:
  std::vector<std::u16string> Paths() const {
    std::vector<std::u16string> paths;
    for (const SimMediaDevice& device : devices_) {
      paths.insert(paths.end(), device.audio_interface_paths.begin(),
                   device.audio_interface_paths.end());
    }
    return paths;
  }

  std::vector<SimMediaDevice> devices_;
  uint32_t length_answer_;
};

}  // namespace

std::unique_ptr<DeviceInfoSet> SimDeviceSystem::PresentDevices(const platform::Guid& setup_class,
                                                               WinError* error) {
  ++present_lists_made_;
  if (fail_present_list) {
    *error = platform::kErrorInvalidClass;
    return nullptr;
  }
  *error = platform::kErrorSuccess;
  return std::make_unique<SimInfoSet>(
      setup_class == kMediaSetupClass ? devices_ : std::vector<SimMediaDevice>{},
      instance_id_length_answer);
}

std::unique_ptr<DeviceInfoSet> SimDeviceSystem::InterfaceDevices(const platform::Guid& category,
                                                                 std::u16string_view instance_id,
                                                                 WinError* error) {
  std::vector<SimMediaDevice> matching;
  if (category == kKsCategoryAudio) {
    for (const SimMediaDevice& device : devices_) {
      if (device.instance_id == instance_id) matching.push_back(device);
    }
  }
  *error = platform::kErrorSuccess;
  return std::make_unique<SimInfoSet>(std::move(matching), 0);
}

std::unique_ptr<DeviceFile> SimDeviceSystem::OpenFile(std::u16string_view path, WinError* error) {
  opened_paths_.emplace_back(path);
  const auto opener = openers_.find(std::u16string(path));
  if (opener == openers_.end()) {
    *error = platform::kErrorFileNotFound;
    return nullptr;
  }
  *error = platform::kErrorSuccess;
  return opener->second();
}

}  // namespace audio::sim
