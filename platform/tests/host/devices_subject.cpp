#include "devices_subject.h"

#include <cctype>
#include <cstdio>
#include <map>

#include "platform/sim/sim_devices.h"

namespace platform::testing {

namespace {

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// Names devices as the installer does for a generated root id: ROOT\<CLASS>\0000, 0001, ...
class SimDevicesSubject : public DevicesSubject {
 public:
  Devices& devices() override { return sim_; }

  std::string AddDevice(const FakeDevice& device) override {
    sim_.AddSetupClass(device.class_name, device.class_guid);
    const std::string prefix = "ROOT\\" + Upper(device.class_name) + "\\";
    char number[8];
    std::snprintf(number, sizeof number, "%04u", next_number_[prefix]++);
    sim::SimDevice node;
    node.instance_id = prefix + number;
    node.class_guid = device.class_guid;
    node.hardware_ids = device.hardware_ids;
    node.compatible_ids = device.compatible_ids;
    sim_.AddDevice(node);
    return node.instance_id;
  }

  std::string AddInterface(const Guid& category, std::string_view instance_id,
                           std::string_view reference) override {
    // As the installer writes it: \\?\<instance id with '#'>#{category}\<reference>, lower case.
    std::string path = "\\\\?\\" + std::string(instance_id) + "#" + FormatGuid(category) + "\\" +
                       std::string(reference);
    for (size_t i = 4; i < path.size(); ++i) {
      if (path[i] == '\\' && i < path.size() - reference.size() - 1) path[i] = '#';
      path[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(path[i])));
    }
    sim_.AddInterface(category, instance_id, path);
    return path;
  }

 private:
  sim::SimDevices sim_;
  std::map<std::string, unsigned> next_number_;
};

}  // namespace

std::unique_ptr<DevicesSubject> MakeDevicesSubject() {
  return std::make_unique<SimDevicesSubject>();
}

}  // namespace platform::testing
