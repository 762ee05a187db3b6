#include "platform/sim/sim_devices.h"

#include <algorithm>
#include <utility>

#include "platform/ascii_case.h"
#include "platform/registry_values.h"

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
    const SimDevice* device = Device(index);
    if (device == nullptr) return index < members_.size() ? kErrorNoSuchDevinst : kErrorNoMoreItems;
    if (size != 0 && data == nullptr) return kErrorInvalidData;
    const std::vector<std::string>& ids =
        property == DeviceProperty::kHardwareIds ? device->hardware_ids : device->compatible_ids;
    if (ids.empty()) return kErrorInvalidData;  // the device has no such value
    const std::vector<uint8_t> bytes = EncodeMultiString(ids);
    const auto needed = static_cast<uint32_t>(bytes.size());
    if (type != nullptr) *type = kRegMultiSz;
    if (required != nullptr) *required = needed;
    if (size < needed) return kErrorInsufficientBuffer;
    std::copy(bytes.begin(), bytes.end(), data);
    return kErrorSuccess;
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

std::vector<std::string> SimDevices::InterfacePaths(const Guid& interface_category,
                                                    std::string_view instance_id) {
  std::vector<std::string> paths;
  if (model_->FindPresent(instance_id) == nullptr) return paths;
  for (const Interface& iface : model_->interfaces) {
    if (iface.category == interface_category &&
        EqualsIgnoringCase(iface.instance_id, instance_id)) {
      paths.push_back(iface.path);
    }
  }
  return paths;
}

}  // namespace platform::sim
