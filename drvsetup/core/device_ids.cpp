#include "drvsetup/core/device_ids.h"

#include "platform/registry_values.h"

namespace drvsetup {

namespace {

constexpr uint32_t kInitialPropertyBytes = 8192;
// No id list comes near this; a larger reported size is taken as a broken answer.
constexpr uint32_t kMaxPropertyBytes = 1u << 20;

}  // namespace

std::string ReadInstanceId(platform::DeviceInfoList& list, uint32_t index) {
  std::string id;
  if (!list.InstanceId(index, kInstanceIdChars, &id)) id.clear();
  return id;
}

std::vector<std::string> ReadIdList(platform::DeviceInfoList& list, uint32_t index,
                                    platform::DeviceProperty property) {
  std::vector<uint8_t> buffer(kInitialPropertyBytes, 0);
  for (;;) {
    uint32_t type = 0;
    uint32_t required = 0;
    const platform::WinError error = list.RegistryProperty(
        index, property, &type, buffer.data(), static_cast<uint32_t>(buffer.size()), &required);
    if (error == platform::kErrorSuccess) {
      const size_t used = (required > 0 && required <= buffer.size()) ? required : buffer.size();
      return platform::DecodeMultiString(buffer.data(), used);
    }
    const bool grow = error == platform::kErrorInsufficientBuffer &&
                      type == static_cast<uint32_t>(platform::ValueType::kMultiString) &&
                      required > buffer.size() && required <= kMaxPropertyBytes;
    if (!grow) return {};
    buffer.assign(required, 0);
  }
}

}  // namespace drvsetup
