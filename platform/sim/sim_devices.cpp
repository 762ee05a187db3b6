#include "platform/sim/sim_devices.h"

#include <algorithm>
#include <map>
#include <utility>

#include "platform/ascii_case.h"
#include "platform/registry_values.h"
#include "platform/strings.h"

namespace platform::sim {

namespace {

constexpr uint32_t kRegMultiSz = 7;                   // REG_MULTI_SZ
constexpr WinError kErrorNoSuchDevinst = 0xE000020B;  // the member's device is gone

// A standard class GUID of the {4D36E9xx-E325-11CE-BFC1-08002BE10318} family.
Guid StandardClass(uint32_t data1) {
  return {data1, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
}

struct SetupClass {
  std::string name;
  Guid guid;
};

struct Interface {
  Guid category;
  std::string instance_id;
  std::string path;
};

struct Node {
  SimDevice device;
  bool present = true;
};

}  // namespace

struct SimDevices::Model {
  std::vector<SetupClass> classes;
  std::vector<Node> nodes;  // in the order added; removed nodes stay, marked not present
  std::vector<Interface> interfaces;
  std::vector<std::string> removed_ids;
  DeviceFaults faults;
  std::map<std::u16string, std::function<std::unique_ptr<DeviceFile>()>> files;
  std::vector<std::u16string> opened_paths;
  uint32_t present_lists_made = 0;

  // Indexes of the present nodes that pass the filter, in enumeration order.
  template <typename Filter>
  std::vector<size_t> EnumerationOrder(Filter filter) const {
    std::vector<size_t> order;
    for (size_t i = 0; i < nodes.size(); ++i) {
      if (nodes[i].present && filter(nodes[i].device)) order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [this](size_t a, size_t b) {
      // The device installer lists devices by instance id, without regard to case.
      return LessIgnoringCase(nodes[a].device.instance_id, nodes[b].device.instance_id);
    });
    return order;
  }

  Node* FindPresent(std::string_view instance_id) {
    for (Node& node : nodes) {
      if (node.present && EqualsIgnoringCase(node.device.instance_id, instance_id)) return &node;
    }
    return nullptr;
  }
};

namespace {

// The ids as REG_MULTI_SZ in UTF-16, as the wide call gives them.
std::vector<uint8_t> WideMultiStringBytes(const std::vector<std::string>& strings) {
  std::vector<std::u16string> wide;
  for (const std::string& text : strings) wide.push_back(Utf8ToUtf16(text));
  return WideBytes(EncodeWideMultiString(wide));
}

// The text and its terminator into buffer, or the size it needs.
WinError CopyWideText(std::string_view text, char16_t* buffer, uint32_t buffer_chars,
                      uint32_t* required_chars) {
  const std::u16string wide = Utf8ToUtf16(text);
  *required_chars = static_cast<uint32_t>(wide.size() + 1);
  if (buffer == nullptr || buffer_chars < *required_chars) return kErrorInsufficientBuffer;
  std::copy(wide.begin(), wide.end(), buffer);
  buffer[wide.size()] = u'\0';
  return kErrorSuccess;
}

// A member of a list: the node it was made from, and what the installer has done to it.
struct Member {
  size_t node;
  bool removed = false;
  bool needs_restart = false;
};

class SimDeviceInfoList : public DeviceInfoList {
 public:
  SimDeviceInfoList(std::shared_ptr<SimDevices::Model> model, const Guid& class_guid)
      : model_(std::move(model)), class_guid_(class_guid) {}

  void Add(size_t node) {
    for (const Member& member : members_) {
      if (member.node == node) return;
    }
    members_.push_back({node});
  }

  bool OpenDevice(std::string_view instance_id) override {
    for (size_t i = 0; i < model_->nodes.size(); ++i) {
      const Node& node = model_->nodes[i];
      if (node.present && EqualsIgnoringCase(node.device.instance_id, instance_id)) {
        if (!(node.device.class_guid == class_guid_)) return false;  // ERROR_CLASS_MISMATCH
        Add(i);
        return true;
      }
    }
    return false;  // ERROR_NO_SUCH_DEVINST
  }

  bool ReadDetails() override { return !model_->faults.read_details_fails; }

  bool EnumDevice(uint32_t index) override { return index < members_.size(); }

  bool InstanceId(uint32_t index, size_t max_chars, std::string* id) override {
    const SimDevice* device = Device(index);
    if (device == nullptr || device->instance_id_unreadable) return false;
    if (device->instance_id.size() > max_chars) return false;
    *id = device->instance_id;
    return true;
  }

  WinError RegistryProperty(uint32_t index, DeviceProperty property, uint32_t* type, uint8_t* data,
                            uint32_t size, uint32_t* required) override {
    return ReadIds(index, property, false, type, data, size, required);
  }

  WinError WideRegistryProperty(uint32_t index, DeviceProperty property, uint32_t* type,
                                uint8_t* data, uint32_t size, uint32_t* required) override {
    return ReadIds(index, property, true, type, data, size, required);
  }

  WinError WideInstanceId(uint32_t index, char16_t* buffer, uint32_t buffer_chars,
                          uint32_t* required_chars) override {
    const SimDevice* device = Device(index);
    if (device == nullptr) return index < members_.size() ? kErrorNoSuchDevinst : kErrorNoMoreItems;
    const WinError error = CopyWideText(device->instance_id, buffer, buffer_chars, required_chars);
    const uint32_t answer = model_->faults.instance_id_length_answer;
    if (buffer == nullptr && answer != 0) *required_chars = answer;
    return error;
  }

  WinError EnumInterface(const Guid& category, uint32_t index) override {
    return index < InterfacePaths(category).size() ? kErrorSuccess : kErrorNoMoreItems;
  }

  WinError WideInterfacePath(const Guid& category, uint32_t index, char16_t* buffer,
                             uint32_t buffer_chars, uint32_t* required_chars) override {
    const std::vector<std::string> paths = InterfacePaths(category);
    if (index >= paths.size()) return kErrorNoMoreItems;
    return CopyWideText(paths[index], buffer, buffer_chars, required_chars);
  }

  bool SetRemoveParams(uint32_t index) override {
    return Device(index) != nullptr && !model_->faults.set_remove_params_fails;
  }

  bool CallClassInstallerRemove(uint32_t index) override {
    const SimDevice* device = Device(index);
    if (device == nullptr || device->removal_fails) return false;
    Member& member = members_[index];
    Node& node = model_->nodes[member.node];
    node.present = false;
    member.removed = true;
    member.needs_restart = device->needs_restart_after_removal;
    model_->removed_ids.push_back(node.device.instance_id);
    return true;
  }

  bool NeedsRestart(uint32_t index, bool* needs_restart) override {
    if (index >= members_.size() || model_->faults.read_install_params_fails) return false;
    *needs_restart = members_[index].needs_restart;
    return true;
  }

 private:
  WinError ReadIds(uint32_t index, DeviceProperty property, bool wide, uint32_t* type,
                   uint8_t* data, uint32_t size, uint32_t* required) {
    const SimDevice* device = Device(index);
    if (device == nullptr) return index < members_.size() ? kErrorNoSuchDevinst : kErrorNoMoreItems;
    if (size != 0 && data == nullptr) return kErrorInvalidData;
    const std::vector<std::string>& ids =
        property == DeviceProperty::kHardwareIds ? device->hardware_ids : device->compatible_ids;
    if (ids.empty()) return kErrorInvalidData;  // the device has no such value
    const std::vector<uint8_t> bytes = wide ? WideMultiStringBytes(ids) : EncodeMultiString(ids);
    const auto needed = static_cast<uint32_t>(bytes.size());
    if (type != nullptr) *type = kRegMultiSz;
    if (required != nullptr) *required = needed;
    if (size < needed) return kErrorInsufficientBuffer;
    std::copy(bytes.begin(), bytes.end(), data);
    return kErrorSuccess;
  }

  // The paths of the members' interfaces of the category, member by member.
  std::vector<std::string> InterfacePaths(const Guid& category) const {
    std::vector<std::string> paths;
    for (uint32_t index = 0; index < members_.size(); ++index) {
      const SimDevice* device = Device(index);
      if (device == nullptr) continue;
      for (const Interface& iface : model_->interfaces) {
        if (iface.category == category &&
            EqualsIgnoringCase(iface.instance_id, device->instance_id)) {
          paths.push_back(iface.path);
        }
      }
    }
    return paths;
  }

  // The device of a member that is still in the tree; nullptr past the end or once removed.
  const SimDevice* Device(uint32_t index) const {
    if (index >= members_.size() || members_[index].removed) return nullptr;
    const Node& node = model_->nodes[members_[index].node];
    return node.present ? &node.device : nullptr;
  }

  std::shared_ptr<SimDevices::Model> model_;
  Guid class_guid_;
  std::vector<Member> members_;
};

}  // namespace

Guid DisplayClassGuid() { return StandardClass(0x4D36E968); }
Guid MediaClassGuid() { return StandardClass(0x4D36E96C); }
Guid NetClassGuid() { return StandardClass(0x4D36E972); }

SimDevices::SimDevices() : model_(std::make_shared<Model>()) {
  model_->classes = {
      {"Display", DisplayClassGuid()},
      {"MEDIA", MediaClassGuid()},
      {"Net", NetClassGuid()},
      {"CDROM", StandardClass(0x4D36E965)},
      {"DiskDrive", StandardClass(0x4D36E967)},
      {"HDC", StandardClass(0x4D36E96A)},
      {"Keyboard", StandardClass(0x4D36E96B)},
      {"Monitor", StandardClass(0x4D36E96E)},
      {"Mouse", StandardClass(0x4D36E96F)},
      {"Ports", StandardClass(0x4D36E978)},
      {"Printer", StandardClass(0x4D36E979)},
      {"System", StandardClass(0x4D36E97D)},
  };
}

SimDevices::~SimDevices() = default;

void SimDevices::AddSetupClass(std::string_view name, const Guid& guid) {
  for (const SetupClass& known : model_->classes) {
    if (EqualsIgnoringCase(known.name, name) && known.guid == guid) return;
  }
  model_->classes.push_back({std::string(name), guid});
}

void SimDevices::AddDevice(SimDevice device) { model_->nodes.push_back({std::move(device)}); }

void SimDevices::AddInterface(const Guid& category, std::string_view instance_id,
                              std::string_view path) {
  model_->interfaces.push_back({category, std::string(instance_id), std::string(path)});
}

DeviceFaults& SimDevices::faults() { return model_->faults; }

void SimDevices::SetDeviceFile(std::u16string path,
                               std::function<std::unique_ptr<DeviceFile>()> opener) {
  model_->files[std::move(path)] = std::move(opener);
}

void SimDevices::RemoveDeviceFile(const std::u16string& path) { model_->files.erase(path); }

uint32_t SimDevices::PresentListsMade() const { return model_->present_lists_made; }

std::vector<std::u16string> SimDevices::OpenedPaths() const { return model_->opened_paths; }

std::vector<SimDevice> SimDevices::PresentDeviceList() const {
  std::vector<SimDevice> present;
  for (size_t i : model_->EnumerationOrder([](const SimDevice&) { return true; })) {
    present.push_back(model_->nodes[i].device);
  }
  return present;
}

std::vector<std::string> SimDevices::RemovedInstanceIds() const { return model_->removed_ids; }

WinError SimDevices::ClassGuidsFromName(std::string_view class_name, std::vector<Guid>* guids) {
  if (model_->faults.class_lookup_fails) return kErrorInvalidParameter;
  guids->clear();
  for (const SetupClass& known : model_->classes) {
    if (EqualsIgnoringCase(known.name, class_name)) guids->push_back(known.guid);
  }
  return kErrorSuccess;
}

std::unique_ptr<DeviceInfoList> SimDevices::PresentDevices(const Guid& class_guid) {
  ++model_->present_lists_made;
  if (model_->faults.present_list_fails) return nullptr;
  auto list = std::make_unique<SimDeviceInfoList>(model_, class_guid);
  for (size_t i : model_->EnumerationOrder(
           [&](const SimDevice& device) { return device.class_guid == class_guid; })) {
    list->Add(i);
  }
  return list;
}

std::unique_ptr<DeviceInfoList> SimDevices::CreateEmptyList(const Guid& class_guid) {
  if (model_->faults.empty_list_fails) return nullptr;
  return std::make_unique<SimDeviceInfoList>(model_, class_guid);
}

std::unique_ptr<DeviceInfoList> SimDevices::WidePresentDevices(const Guid& class_guid) {
  return PresentDevices(class_guid);
}

std::unique_ptr<DeviceInfoList> SimDevices::InterfaceDevices(const Guid& category,
                                                             std::u16string_view instance_id,
                                                             WinError* error) {
  const std::string id = Utf16ToUtf8(instance_id);
  auto list = std::make_unique<SimDeviceInfoList>(model_, category);
  for (size_t i : model_->EnumerationOrder([&](const SimDevice& device) {
         if (!EqualsIgnoringCase(device.instance_id, id)) return false;
         return std::any_of(
             model_->interfaces.begin(), model_->interfaces.end(), [&](const Interface& iface) {
               return iface.category == category && EqualsIgnoringCase(iface.instance_id, id);
             });
       })) {
    list->Add(i);
  }
  *error = kErrorSuccess;
  return list;
}

std::unique_ptr<DeviceFile> SimDevices::OpenDeviceFile(std::u16string_view path, WinError* error) {
  model_->opened_paths.emplace_back(path);
  const auto opener = model_->files.find(std::u16string(path));
  if (opener == model_->files.end()) {
    *error = kErrorFileNotFound;
    return nullptr;
  }
  *error = kErrorSuccess;
  return opener->second();
}

}  // namespace platform::sim
