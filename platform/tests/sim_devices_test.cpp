// What only the simulated device tree offers: class installers that ask for a restart or fail,
// unreadable instance ids, injected failures, and the inspection of what was removed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/sim/sim_devices.h"

namespace platform::sim {
namespace {

using ::testing::ElementsAre;

SimDevice MediaDevice(std::string id, std::string hardware_id) {
  SimDevice device;
  device.instance_id = std::move(id);
  device.class_guid = MediaClassGuid();
  device.hardware_ids = {std::move(hardware_id)};
  return device;
}

std::vector<std::string> Ids(const std::vector<SimDevice>& devices) {
  std::vector<std::string> ids;
  for (const SimDevice& device : devices) ids.push_back(device.instance_id);
  return ids;
}

TEST(SimDevicesTest, StandardClassesAreKnown) {
  SimDevices sim;
  std::vector<Guid> guids;
  ASSERT_EQ(sim.ClassGuidsFromName("media", &guids), kErrorSuccess);
  EXPECT_THAT(guids, ElementsAre(MediaClassGuid()));
  ASSERT_EQ(sim.ClassGuidsFromName("Net", &guids), kErrorSuccess);
  EXPECT_THAT(guids, ElementsAre(NetClassGuid()));
  EXPECT_EQ(FormatGuid(DisplayClassGuid()), "{4D36E968-E325-11CE-BFC1-08002BE10318}");
}

// Wine (like Windows) lists a class's devices by instance id, not in the order they were made.
TEST(SimDevicesTest, DevicesEnumerateByInstanceIdWithoutRegardToCase) {
  SimDevices sim;
  sim.AddDevice(MediaDevice("ROOT\\OVORDER\\0005", "a"));
  sim.AddDevice(MediaDevice("ROOT\\OVORDER\\0002", "b"));
  sim.AddDevice(MediaDevice("ROOT\\aaorder\\0009", "c"));
  EXPECT_THAT(Ids(sim.PresentDeviceList()),
              ElementsAre("ROOT\\aaorder\\0009", "ROOT\\OVORDER\\0002", "ROOT\\OVORDER\\0005"));

  auto list = sim.PresentDevices(MediaClassGuid());
  ASSERT_NE(list, nullptr);
  std::vector<std::string> listed;
  std::string id;
  for (uint32_t i = 0; list->EnumDevice(i); ++i) {
    ASSERT_TRUE(list->InstanceId(i, 200, &id));
    listed.push_back(id);
  }
  EXPECT_THAT(listed,
              ElementsAre("ROOT\\aaorder\\0009", "ROOT\\OVORDER\\0002", "ROOT\\OVORDER\\0005"));
}

TEST(SimDevicesTest, RemovalRecordsRestartRequestsAndFailures) {
  SimDevices sim;
  SimDevice restarting = MediaDevice("ROOT\\MEDIA\\0000", "*VQVADSimple");
  restarting.needs_restart_after_removal = true;
  SimDevice stuck = MediaDevice("ROOT\\MEDIA\\0001", "*VQVADSimple");
  stuck.removal_fails = true;
  sim.AddDevice(restarting);
  sim.AddDevice(stuck);
  sim.AddInterface(MediaClassGuid(), "ROOT\\MEDIA\\0000", "\\\\?\\root#media#0000");
  auto list = sim.PresentDevices(MediaClassGuid());
  ASSERT_NE(list, nullptr);

  bool needs_restart = true;
  ASSERT_TRUE(list->NeedsRestart(0, &needs_restart));
  EXPECT_FALSE(needs_restart);  // nothing asked for before the removal
  ASSERT_TRUE(list->SetRemoveParams(0));
  ASSERT_TRUE(list->CallClassInstallerRemove(0));
  ASSERT_TRUE(list->NeedsRestart(0, &needs_restart));
  EXPECT_TRUE(needs_restart);
  EXPECT_FALSE(list->CallClassInstallerRemove(0));  // already gone

  ASSERT_TRUE(list->SetRemoveParams(1));
  EXPECT_FALSE(list->CallClassInstallerRemove(1));

  EXPECT_THAT(Ids(sim.PresentDeviceList()), ElementsAre("ROOT\\MEDIA\\0001"));
  EXPECT_THAT(sim.RemovedInstanceIds(), ElementsAre("ROOT\\MEDIA\\0000"));
  WinError error = kErrorSuccess;
  auto interfaces = sim.InterfaceDevices(MediaClassGuid(), u"ROOT\\MEDIA\\0000", &error);
  ASSERT_NE(interfaces, nullptr);
  EXPECT_EQ(interfaces->EnumInterface(MediaClassGuid(), 0), kErrorNoMoreItems) << "gone with it";
}

TEST(SimDevicesTest, UnreadableInstanceIdFailsOnlyThatRead) {
  SimDevices sim;
  SimDevice device = MediaDevice("ROOT\\MEDIA\\0000", "*VQVADSimple");
  device.instance_id_unreadable = true;
  sim.AddDevice(device);
  auto list = sim.PresentDevices(MediaClassGuid());
  ASSERT_NE(list, nullptr);
  std::string id;
  EXPECT_FALSE(list->InstanceId(0, 200, &id));
  uint32_t required = 0;
  EXPECT_EQ(list->RegistryProperty(0, DeviceProperty::kHardwareIds, nullptr, nullptr, 0, &required),
            kErrorInsufficientBuffer);
  EXPECT_EQ(required, sizeof("*VQVADSimple") + 1);
}

TEST(SimDevicesTest, InjectedFaultsFailTheirCalls) {
  SimDevices sim;
  sim.AddDevice(MediaDevice("ROOT\\MEDIA\\0000", "*VQVADSimple"));
  DeviceFaults& faults = sim.faults();
  faults.read_details_fails = true;
  faults.set_remove_params_fails = true;
  faults.read_install_params_fails = true;
  auto list = sim.PresentDevices(MediaClassGuid());
  ASSERT_NE(list, nullptr);
  EXPECT_FALSE(list->ReadDetails());
  EXPECT_FALSE(list->SetRemoveParams(0));
  bool needs_restart = false;
  EXPECT_FALSE(list->NeedsRestart(0, &needs_restart));

  faults.class_lookup_fails = true;
  std::vector<Guid> guids;
  EXPECT_EQ(sim.ClassGuidsFromName("Media", &guids), kErrorInvalidParameter);
  faults.present_list_fails = true;
  EXPECT_EQ(sim.PresentDevices(MediaClassGuid()), nullptr);
  faults.empty_list_fails = true;
  EXPECT_EQ(sim.CreateEmptyList(MediaClassGuid()), nullptr);
  EXPECT_THAT(Ids(sim.PresentDeviceList()), ElementsAre("ROOT\\MEDIA\\0000"));
}

}  // namespace
}  // namespace platform::sim
