#include "audio/core/device_access.h"

#include <gtest/gtest.h>

#include "audio/sim/sim_media_device.h"
#include "audio/sim/sim_virtual_audio_driver.h"
#include "platform/sim/sim_sync.h"

namespace audio {
namespace {

using sim::SimMediaDevice;

class DeviceAccessTest : public ::testing::Test {
 protected:
  DeviceAccessTest() : driver_(clock_, 4096), device_(system_) {}

  void AddOpenable(const SimMediaDevice& device) {
    sim::AddMediaDevice(system_, device, [this] { return driver_.OpenFile(); });
  }

  platform::sim::VirtualClock clock_;
  sim::SimVirtualAudioDriver driver_;
  platform::sim::SimDevices system_;
  VirtualAudioDevice device_;
};

TEST_F(DeviceAccessTest, FirstHardwareIdMatchesWithoutRegardToCase) {
  AddOpenable({"ROOT\\MEDIA\\0000", {"PCI\\other", "*VQVADSimple"}, {}, {"\\\\?\\wrong"}});
  AddOpenable({"ROOT\\MEDIA\\0001", {"*vqvadsimple"}, {}, {"\\\\?\\right"}});
  EXPECT_EQ(device_.OpenVirtualAudioDevice(), 0u);
  EXPECT_EQ(system_.OpenedPaths(), std::vector<std::u16string>{u"\\\\?\\right"});
  EXPECT_TRUE(device_.IsOpen());
  EXPECT_EQ(system_.PresentListsMade(), 1u);
}

TEST_F(DeviceAccessTest, SecondPassUsesTheFirstCompatibleIdAndHardwareIdsWinOverIt) {
  AddOpenable({"ROOT\\MEDIA\\0000", {"x"}, {"*VQVADSimple"}, {"\\\\?\\compatible"}});
  EXPECT_EQ(device_.OpenVirtualAudioDevice(), 0u);
  EXPECT_EQ(system_.OpenedPaths().back(), u"\\\\?\\compatible");

  VirtualAudioDevice fresh(system_);
  AddOpenable({"ROOT\\MEDIA\\0001", {"*VQVADSimple"}, {}, {"\\\\?\\hardware"}});
  EXPECT_EQ(fresh.OpenVirtualAudioDevice(), 0u);
  EXPECT_EQ(system_.OpenedPaths().back(), u"\\\\?\\hardware");
}

TEST_F(DeviceAccessTest, NoMatchingDeviceOrNoListIs55) {
  AddOpenable({"ROOT\\MEDIA\\0000", {"x", "*VQVADSimple"}, {"y", "*VQVADSimple"}, {}});
  EXPECT_EQ(device_.OpenVirtualAudioDevice(), kErrorDevNotExist);
  system_.faults().present_list_fails = true;
  EXPECT_EQ(device_.OpenVirtualAudioDevice(), kErrorDevNotExist);
  EXPECT_FALSE(device_.IsOpen());
  EXPECT_FALSE(device_.SendQuery()) << "no request without a device";
}

TEST_F(DeviceAccessTest, InstanceIdLengthQueryMustAskForABuffer) {
  AddOpenable({"ROOT\\MEDIA\\0000", {"*VQVADSimple"}, {}, {"\\\\?\\p"}});
  system_.faults().instance_id_length_answer = 0xFFFFFFFF;  // no memory for that
  EXPECT_EQ(device_.OpenVirtualAudioDevice(), platform::kErrorNotEnoughMemory);
}

TEST_F(DeviceAccessTest, DeviceWithoutAudioInterfaceReportsTheEnumerationError) {
  AddOpenable({"ROOT\\MEDIA\\0000", {"*VQVADSimple"}, {}, {}});
  EXPECT_EQ(device_.OpenVirtualAudioDevice(), platform::kErrorNoMoreItems);
}

TEST_F(DeviceAccessTest, CachedPathThatNoLongerOpensLeadsToOneFreshLookup) {
  AddOpenable({"ROOT\\MEDIA\\0000", {"*VQVADSimple"}, {}, {"\\\\?\\old"}});
  ASSERT_EQ(device_.OpenVirtualAudioDevice(), 0u);
  EXPECT_EQ(device_.CachedPath(), u"\\\\?\\old");
  ASSERT_EQ(device_.OpenVirtualAudioDevice(), 0u);
  EXPECT_EQ(system_.PresentListsMade(), 1u) << "the cache avoids a lookup";

  system_.RemoveDeviceFile(u"\\\\?\\old");
  EXPECT_EQ(device_.OpenVirtualAudioDevice(), platform::kErrorFileNotFound);
  EXPECT_EQ(system_.PresentListsMade(), 2u);
  EXPECT_EQ(system_.OpenedPaths().size(), 4u);  // old, old (cached), old (cached), old (fresh)
}

TEST_F(DeviceAccessTest, OverlongPathIsOpenedButNotCached) {
  const std::string path = "\\\\?\\" + std::string(300, 'a');
  AddOpenable({"ROOT\\MEDIA\\0000", {"*VQVADSimple"}, {}, {path}});
  EXPECT_EQ(device_.OpenVirtualAudioDevice(), 0u);
  EXPECT_TRUE(device_.CachedPath().empty());
}

TEST_F(DeviceAccessTest, PropertyRequestsCarryTheSharedAudioSetAndValues) {
  AddOpenable({"ROOT\\MEDIA\\0000", {"*VQVADSimple"}, {}, {"\\\\?\\p"}});
  ASSERT_EQ(device_.OpenVirtualAudioDevice(), 0u);
  EXPECT_TRUE(device_.SendQuery());
  SharedAddresses addresses{};
  ASSERT_TRUE(device_.SendMap(&addresses));
  EXPECT_EQ(addresses.status_block, sim::SimVirtualAudioDriver::kStatusBlockAddress);
  EXPECT_EQ(addresses.data_area, sim::SimVirtualAudioDriver::kDataAreaAddress);
  EXPECT_TRUE(device_.SendConfirm(addresses));
  EXPECT_NE(driver_.Resolve(addresses), nullptr);
  EXPECT_TRUE(device_.SendUnmap(addresses));
  EXPECT_EQ(driver_.Resolve(addresses), nullptr);
  EXPECT_EQ(driver_.requests().last_unmap.data_area, addresses.data_area);

  driver_.faults().fail_query = true;
  EXPECT_FALSE(device_.SendQuery());
  driver_.faults().fail_map = true;
  EXPECT_FALSE(device_.SendMap(&addresses));
  device_.Close();
  EXPECT_FALSE(device_.SendUnmap(addresses));
  EXPECT_EQ(driver_.requests().unmap, 1u);
}

}  // namespace
}  // namespace audio
