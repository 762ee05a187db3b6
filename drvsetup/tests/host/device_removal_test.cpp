// Device removal on the simulated device tree.
#include "drvsetup/core/device_removal.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/fakes.h"
#include "platform/sim/sim_devices.h"

namespace drvsetup {
namespace {

using platform::sim::MediaClassGuid;
using platform::sim::SimDevice;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

SimDevice MediaDevice(std::string id, std::vector<std::string> hardware,
                      std::vector<std::string> compatible = {}) {
  SimDevice device;
  device.instance_id = std::move(id);
  device.class_guid = MediaClassGuid();
  device.hardware_ids = std::move(hardware);
  device.compatible_ids = std::move(compatible);
  return device;
}

class DeviceRemoval : public ::testing::Test {
 protected:
  DeviceRemovalResult Remove(std::string_view class_name, std::string_view text) {
    return RemoveDevices(devices, strings, code_page, class_name, text);
  }

  platform::sim::SimDevices devices;
  testing::FakeStringTable strings;
  SingleByteCodePage code_page;
};

TEST_F(DeviceRemoval, RemovesDevicesWhoseHardwareOrCompatibleIdsMatch) {
  devices.AddDevice(MediaDevice("ROOT\\MEDIA\\0000", {"*VQVADSimple"}));
  devices.AddDevice(MediaDevice("ROOT\\MEDIA\\0001", {"OTHER"}, {"ROOT\\VQVADSimple"}));
  devices.AddDevice(MediaDevice("ROOT\\MEDIA\\0002", {"*VQVADSimpleX"}));
  devices.AddDevice(MediaDevice("ROOT\\MEDIA\\0003", {}));
  SimDevice display = MediaDevice("ROOT\\DISPLAY\\0000", {"*VQVADSimple"});
  display.class_guid = platform::sim::DisplayClassGuid();
  devices.AddDevice(display);
  EXPECT_EQ(Remove("Media", "*VQVADSimple"), DeviceRemovalResult::kDone);
  EXPECT_THAT(devices.RemovedInstanceIds(), ElementsAre("ROOT\\MEDIA\\0000", "ROOT\\MEDIA\\0001"));
}

TEST_F(DeviceRemoval, NothingToRemoveIsDone) {
  devices.AddDevice(MediaDevice("HDAUDIO\\1", {"HDAUDIO\\FUNC_01"}));
  EXPECT_EQ(Remove("Media", "*VQVADSimple"), DeviceRemovalResult::kDone);
  EXPECT_THAT(devices.RemovedInstanceIds(), IsEmpty());
}

TEST_F(DeviceRemoval, UnknownClassIsDoneWithoutAnyList) {
  devices.faults().present_list_fails = true;
  devices.faults().empty_list_fails = true;
  EXPECT_EQ(Remove("NoSuchClass", "*VQVADSimple"), DeviceRemovalResult::kDone);
}

TEST_F(DeviceRemoval, FailuresBeforeTheWalkGiveFailed) {
  devices.AddDevice(MediaDevice("ROOT\\MEDIA\\0000", {"*VQVADSimple"}));
  {
    testing::FakeStringTable partial;
    partial.Remove(110);
    EXPECT_EQ(RemoveDevices(devices, partial, code_page, "Media", "*VQVADSimple"),
              DeviceRemovalResult::kFailed);
  }
  devices.faults().class_lookup_fails = true;
  EXPECT_EQ(Remove("Media", "*VQVADSimple"), DeviceRemovalResult::kFailed);
  devices.faults().class_lookup_fails = false;
  devices.faults().present_list_fails = true;
  EXPECT_EQ(Remove("Media", "*VQVADSimple"), DeviceRemovalResult::kFailed);
  devices.faults().present_list_fails = false;
  devices.faults().read_details_fails = true;
  EXPECT_EQ(Remove("Media", "*VQVADSimple"), DeviceRemovalResult::kFailed);
  EXPECT_THAT(devices.RemovedInstanceIds(), IsEmpty());
}

TEST_F(DeviceRemoval, RestartRequestGivesRestartNeeded) {
  SimDevice device = MediaDevice("ROOT\\MEDIA\\0000", {"*VQVADSimple"});
  device.needs_restart_after_removal = true;
  devices.AddDevice(device);
  devices.AddDevice(MediaDevice("ROOT\\MEDIA\\0001", {"*VQVADSimple"}));
  EXPECT_EQ(Remove("Media", "*VQVADSimple"), DeviceRemovalResult::kRestartNeeded);
  EXPECT_EQ(devices.RemovedInstanceIds().size(), 2u);
}

TEST_F(DeviceRemoval, DeviceThatCannotBeRemovedIsSkipped) {
  SimDevice stuck = MediaDevice("ROOT\\MEDIA\\0000", {"*VQVADSimple"});
  stuck.removal_fails = true;
  stuck.needs_restart_after_removal = true;
  devices.AddDevice(stuck);
  SimDevice unreadable = MediaDevice("ROOT\\MEDIA\\0001", {"*VQVADSimple"});
  unreadable.instance_id_unreadable = true;
  devices.AddDevice(unreadable);
  devices.AddDevice(MediaDevice("ROOT\\MEDIA\\0002", {"*VQVADSimple"}));
  EXPECT_EQ(Remove("Media", "*VQVADSimple"), DeviceRemovalResult::kDone);
  EXPECT_THAT(devices.RemovedInstanceIds(), ElementsAre("ROOT\\MEDIA\\0002"));
}

TEST_F(DeviceRemoval, InstallParametersThatCannotBeReadStillCountTheRemoval) {
  SimDevice device = MediaDevice("ROOT\\MEDIA\\0000", {"*VQVADSimple"});
  device.needs_restart_after_removal = true;
  devices.AddDevice(device);
  devices.faults().read_install_params_fails = true;
  EXPECT_EQ(Remove("Media", "*VQVADSimple"), DeviceRemovalResult::kDone);
  EXPECT_EQ(devices.RemovedInstanceIds().size(), 1u);
}

TEST_F(DeviceRemoval, RemoveParametersThatCannotBeSetSkipTheDevice) {
  devices.AddDevice(MediaDevice("ROOT\\MEDIA\\0000", {"*VQVADSimple"}));
  devices.faults().set_remove_params_fails = true;
  EXPECT_EQ(Remove("Media", "*VQVADSimple"), DeviceRemovalResult::kDone);
  EXPECT_THAT(devices.RemovedInstanceIds(), IsEmpty());
}

TEST_F(DeviceRemoval, LongIdListsAreReadWhole) {
  std::vector<std::string> ids;
  for (int i = 0; i < 100; ++i)
    ids.push_back("ROOT\\FILLER_" + std::string(100, 'x') + std::to_string(i));
  ids.push_back("ROOT\\VQVADSimple");  // past the first 8192 bytes
  devices.AddDevice(MediaDevice("ROOT\\MEDIA\\0000", ids));
  EXPECT_EQ(Remove("Media", "*VQVADSimple"), DeviceRemovalResult::kDone);
  EXPECT_EQ(devices.RemovedInstanceIds().size(), 1u);
}

TEST_F(DeviceRemoval, InstanceIdTemplates) {
  devices.AddDevice(MediaDevice("ROOT\\MEDIA\\0000", {"*VQVADSimple"}));
  devices.AddDevice(MediaDevice("ROOT\\MEDIA\\0001", {"A"}));
  devices.AddDevice(MediaDevice("PCI\\MEDIA\\0002", {"B"}));
  EXPECT_EQ(Remove("Media", "@root\\media\\0001"), DeviceRemovalResult::kDone);
  EXPECT_THAT(devices.RemovedInstanceIds(), ElementsAre("ROOT\\MEDIA\\0001"));
  // An instance that is not there: the list cannot be built.
  EXPECT_EQ(Remove("Media", "@ROOT\\MEDIA\\0009"), DeviceRemovalResult::kFailed);
  // With a wildcard the present devices are searched.
  EXPECT_EQ(Remove("Media", "@ROOT\\*"), DeviceRemovalResult::kDone);
  EXPECT_THAT(devices.RemovedInstanceIds(), ElementsAre("ROOT\\MEDIA\\0001", "ROOT\\MEDIA\\0000"));
}

TEST_F(DeviceRemoval, AllDevicesTemplateTakesTheWholeClass) {
  devices.AddDevice(MediaDevice("ROOT\\MEDIA\\0000", {"A"}));
  devices.AddDevice(MediaDevice("ROOT\\MEDIA\\0001", {}));
  EXPECT_EQ(Remove("Media", "*"), DeviceRemovalResult::kDone);
  EXPECT_EQ(devices.RemovedInstanceIds().size(), 2u);
}

}  // namespace
}  // namespace drvsetup
