#include "devices_subject.h"

#include "fake_device_maker.h"
#include "platform/win32/native_guid.h"
#include "platform/win32/win32_devices.h"

namespace platform::testing {

namespace {

using platform::win32::ToGuid;

// Puts real driverless devices into the prefix and takes them out again when done, since all
// tests of the program share one system.
class Win32DevicesSubject : public DevicesSubject {
 public:
  ~Win32DevicesSubject() override {
    for (const std::string& id : created_) fake_device::RemoveDevice(id);
  }

  Devices& devices() override { return devices_; }

  std::string AddDevice(const FakeDevice& device) override {
    const GUID guid = ToGuid(device.class_guid);
    if (!fake_device::EnsureSetupClass(device.class_name, guid)) return {};
    std::string id = fake_device::CreateRootDevice(device.class_name, guid, device.hardware_ids,
                                                   device.compatible_ids);
    if (!id.empty()) created_.push_back(id);
    return id;
  }

  std::string AddInterface(const Guid& category, std::string_view instance_id,
                           std::string_view reference) override {
    return fake_device::CreateInterface(std::string(instance_id), ToGuid(category),
                                        std::string(reference));
  }

 private:
  win32::Win32Devices devices_;
  std::vector<std::string> created_;
};

}  // namespace

std::unique_ptr<DevicesSubject> MakeDevicesSubject() {
  return std::make_unique<Win32DevicesSubject>();
}

}  // namespace platform::testing
