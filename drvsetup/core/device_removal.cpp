#include "drvsetup/core/device_removal.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "drvsetup/core/device_ids.h"
#include "drvsetup/core/device_template.h"
#include "drvsetup/core/string_ids.h"

namespace drvsetup {

namespace {

struct RemovalContext {
  unsigned removed = 0;
  bool reboot = false;
};

bool StatusTextsPresent(StringTable& strings) {
  for (unsigned id : {kIdsRemoved, kIdsRemovedOnReboot, kIdsRemoveFailed}) {
    if (!strings.Load(id, kStatusTextChars)) return false;
  }
  return true;
}

std::unique_ptr<platform::DeviceInfoList> BuildDeviceList(platform::Devices& devices,
                                                          const platform::Guid& class_guid,
                                                          const DeviceTemplate& device_template) {
  if (device_template.NeedsSearch()) return devices.PresentDevices(class_guid);
  auto list = devices.CreateEmptyList(class_guid);
  if (list && !list->OpenDevice(device_template.text)) return nullptr;
  return list;
}

bool DeviceMatches(platform::DeviceInfoList& list, uint32_t index,
                   const DeviceTemplate& device_template, const CodePage& code_page) {
  if (device_template.kind == TemplateKind::kAllDevices) return true;
  const std::string instance_id = ReadInstanceId(list, index);
  if (device_template.kind == TemplateKind::kInstanceId) {
    return MatchesTemplate(instance_id, device_template, code_page);
  }
  const auto matches = [&](const std::string& id) {
    return MatchesTemplate(id, device_template, code_page);
  };
  for (auto property :
       {platform::DeviceProperty::kHardwareIds, platform::DeviceProperty::kCompatibleIds}) {
    const std::vector<std::string> ids = ReadIdList(list, index, property);
    if (std::any_of(ids.begin(), ids.end(), matches)) return true;
  }
  return false;
}

void RemoveDevice(platform::DeviceInfoList& list, uint32_t index, RemovalContext* context) {
  std::string instance_id;
  if (!list.ReadDetails() || !list.InstanceId(index, kInstanceIdChars, &instance_id)) return;
  if (!list.SetRemoveParams(index) || !list.CallClassInstallerRemove(index)) return;
  bool needs_restart = false;
  if (list.NeedsRestart(index, &needs_restart) && needs_restart) context->reboot = true;
  ++context->removed;
}

}  // namespace

DeviceRemovalResult RemoveDevices(platform::Devices& devices, StringTable& strings,
                                  const CodePage& code_page, std::string_view class_name,
                                  std::string_view hardware_id_text) {
  if (!StatusTextsPresent(strings)) return DeviceRemovalResult::kFailed;
  std::vector<platform::Guid> guids;
  const platform::WinError lookup = devices.ClassGuidsFromName(class_name, &guids);
  if (lookup != platform::kErrorSuccess && lookup != platform::kErrorInsufficientBuffer) {
    return DeviceRemovalResult::kFailed;
  }
  if (guids.empty()) return DeviceRemovalResult::kDone;
  const DeviceTemplate device_template = BuildDeviceTemplate(hardware_id_text, code_page);
  const auto list = BuildDeviceList(devices, guids.front(), device_template);
  if (!list || !list->ReadDetails()) return DeviceRemovalResult::kFailed;
  RemovalContext context;
  for (uint32_t index = 0; list->EnumDevice(index); ++index) {
    if (DeviceMatches(*list, index, device_template, code_page)) {
      RemoveDevice(*list, index, &context);
    }
  }
  return context.reboot ? DeviceRemovalResult::kRestartNeeded : DeviceRemovalResult::kDone;
}

}  // namespace drvsetup
