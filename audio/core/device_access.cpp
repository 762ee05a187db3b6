#include "audio/core/device_access.h"

#include <array>
#include <memory>
#include <new>
#include <string_view>

#include "audio/core/wide_text.h"
#include "platform/ascii_case.h"

namespace audio {

namespace {

using platform::WinError;

constexpr uint32_t kLongestDeviceTextChars = 32768;

// The lowest index whose first id of the list names the virtual device, or -1.
int64_t FindByFirstId(platform::DeviceInfoList& devices, platform::DeviceProperty list) {
  for (uint32_t index = 0; devices.EnumDevice(index); ++index) {
    std::array<uint8_t, kIdListBufferBytes> bytes{};
    if (devices.WideRegistryProperty(index, list, nullptr, bytes.data(), kIdListBufferBytes,
                                     nullptr) != platform::kErrorSuccess) {
      continue;
    }
    if (platform::EqualsIgnoringCase(DecodeWideString(bytes.data(), bytes.size()),
                                     kVirtualAudioHardwareId)) {
      return index;
    }
  }
  return -1;
}

// The two-call read of a string: the length query must fail with a too-small answer and a
// non-zero length; the text is then read into zeroed memory.
template <typename ReadFn>
WinError ReadSizedText(ReadFn read, std::u16string* text) {
  uint32_t required = 0;
  const WinError probe = read(nullptr, 0, &required);
  if (probe != platform::kErrorInsufficientBuffer) {
    return probe == platform::kErrorSuccess ? platform::kErrorInvalidData : probe;
  }
  if (required == 0) return platform::kErrorInsufficientBuffer;
  // No device text is longer than the longest path; a larger answer is not allocated.
  if (required > kLongestDeviceTextChars) return platform::kErrorNotEnoughMemory;
  std::unique_ptr<char16_t[]> buffer(new (std::nothrow) char16_t[required]());
  if (!buffer) return platform::kErrorNotEnoughMemory;
  const WinError result = read(buffer.get(), required, &required);
  if (result != platform::kErrorSuccess) return result;
  const std::u16string_view read_text(buffer.get(), required);
  *text = std::u16string(read_text.substr(0, read_text.find(u'\0')));
  return platform::kErrorSuccess;
}

}  // namespace

WinError VirtualAudioDevice::LookUpInterfacePath(std::u16string* path) {
  const std::unique_ptr<platform::DeviceInfoList> media =
      system_.WidePresentDevices(kMediaSetupClass);
  if (!media) return kErrorDevNotExist;

  int64_t match = FindByFirstId(*media, platform::DeviceProperty::kHardwareIds);
  if (match < 0) match = FindByFirstId(*media, platform::DeviceProperty::kCompatibleIds);
  if (match < 0) return kErrorDevNotExist;
  const auto index = static_cast<uint32_t>(match);

  std::u16string instance_id;
  WinError error = ReadSizedText(
      [&](char16_t* buffer, uint32_t chars, uint32_t* required) {
        return media->WideInstanceId(index, buffer, chars, required);
      },
      &instance_id);
  if (error != platform::kErrorSuccess) return error;

  const std::unique_ptr<platform::DeviceInfoList> interfaces =
      system_.InterfaceDevices(kKsCategoryAudio, instance_id, &error);
  if (!interfaces) return error;
  error = interfaces->EnumInterface(kKsCategoryAudio, 0);
  if (error != platform::kErrorSuccess) return error;
  return ReadSizedText(
      [&](char16_t* buffer, uint32_t chars, uint32_t* required) {
        return interfaces->WideInterfacePath(kKsCategoryAudio, 0, buffer, chars, required);
      },
      path);
}

WinError VirtualAudioDevice::OpenVirtualAudioDevice() {
  const bool from_cache = !path_cache_.empty();
  std::u16string path = path_cache_;
  if (!from_cache) {
    const WinError error = LookUpInterfacePath(&path);
    if (error != platform::kErrorSuccess) return error;
    // A path longer than the cache holds is opened but not kept: a cut path could not open.
    if (path.size() < kPathCacheChars) path_cache_ = path;
  }

  WinError error = platform::kErrorSuccess;
  std::unique_ptr<platform::DeviceFile> file = system_.OpenDeviceFile(path, &error);
  if (file) {
    file_ = std::move(file);
    return platform::kErrorSuccess;
  }
  if (!from_cache) return error;
  path_cache_.clear();
  return OpenVirtualAudioDevice();
}

bool VirtualAudioDevice::SendProperty(uint32_t id, uint32_t flags, void* value,
                                      uint32_t value_bytes) {
  if (!file_) return false;
  KsProperty property{kPropSetIdSharedAudio, id, flags};
  return file_->Control(kIoctlKsProperty, &property, sizeof property, value, value_bytes);
}

bool VirtualAudioDevice::SendQuery() {
  std::array<uint32_t, 6> reply{};
  reply[0] = sizeof reply;
  return SendProperty(kPropIdQuery, kKsPropertyTypeGet, reply.data(), sizeof reply);
}

bool VirtualAudioDevice::SendMap(SharedAddresses* addresses) {
  return SendProperty(kPropIdMap, kKsPropertyTypeGet, addresses, sizeof *addresses);
}

bool VirtualAudioDevice::SendConfirm(const SharedAddresses& addresses) {
  SharedAddresses value = addresses;
  return SendProperty(kPropIdConfirm, kKsPropertyTypeSet, &value, sizeof value);
}

bool VirtualAudioDevice::SendUnmap(const SharedAddresses& addresses) {
  SharedAddresses value = addresses;
  return SendProperty(kPropIdUnmap, kKsPropertyTypeSet, &value, sizeof value);
}

}  // namespace audio
