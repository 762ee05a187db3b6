// The devices seam under test, and a way to put fake root-enumerated devices into the system
// behind it: the simulated tree on Linux, the real device installer under Wine.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/devices.h"

namespace platform::testing {

struct FakeDevice {
  std::string class_name;  // a setup class the subject makes known first if needed
  Guid class_guid;
  std::vector<std::string> hardware_ids;
  std::vector<std::string> compatible_ids;  // empty: the device has no such property
};

class DevicesSubject {
 public:
  virtual ~DevicesSubject() = default;

  virtual Devices& devices() = 0;
  // Adds a present device; its instance id, or empty on failure.
  virtual std::string AddDevice(const FakeDevice& device) = 0;
  // Registers a device interface of the category on the instance; its path, or empty when the
  // system behind the subject cannot.
  virtual std::string AddInterface(const Guid& category, std::string_view instance_id,
                                   std::string_view reference) = 0;
};

std::unique_ptr<DevicesSubject> MakeDevicesSubject();

}  // namespace platform::testing
