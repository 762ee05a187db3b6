// The virtual audio device's lookup through the real device installer, against driverless
// Media devices made for the test: found by its first hardware id or first compatible id; the
// open then fails cleanly, as no driver stands behind the device under Wine.
#include <gtest/gtest.h>

#include "audio/core/device_access.h"
#include "fake_device_maker.h"
#include "platform/win32/win32_devices.h"

namespace audio {
namespace {

constexpr GUID kMediaClass{
    0x4D36E96C, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
constexpr GUID kAudioCategory{
    0x65E8773E, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

class DeviceLookupWineTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(fake_device::EnsureSetupClass("MEDIA", kMediaClass)); }
  void TearDown() override {
    for (const std::string& id : made_) fake_device::RemoveDevice(id);
  }
  std::string Make(const std::vector<std::string>& hardware_ids,
                   const std::vector<std::string>& compatible_ids) {
    const std::string id =
        fake_device::CreateRootDevice("Media", kMediaClass, hardware_ids, compatible_ids);
    if (!id.empty()) made_.push_back(id);
    return id;
  }

  platform::win32::Win32Devices system_;
  std::vector<std::string> made_;
};

TEST_F(DeviceLookupWineTest, NoVirtualDeviceIs55) {
  ASSERT_FALSE(Make({"ROOT\\OTHER", "*VQVADSimple"}, {}).empty());
  VirtualAudioDevice device(system_);
  EXPECT_EQ(device.OpenVirtualAudioDevice(), kErrorDevNotExist);
}

TEST_F(DeviceLookupWineTest, FoundByHardwareIdWithoutAnAudioInterface) {
  ASSERT_FALSE(Make({"*vqvadsimple"}, {}).empty());
  VirtualAudioDevice device(system_);
  // Found: the lookup gets as far as the device's audio interfaces, and it has none.
  EXPECT_EQ(device.OpenVirtualAudioDevice(), platform::kErrorNoMoreItems);
  EXPECT_FALSE(device.IsOpen());
}

TEST_F(DeviceLookupWineTest, FoundByCompatibleIdAndTheOpenFailsCleanly) {
  const std::string id = Make({"ROOT\\OTHER"}, {"*VQVADSimple"});
  ASSERT_FALSE(id.empty());
  ASSERT_FALSE(fake_device::CreateInterface(id, kAudioCategory, "").empty());
  VirtualAudioDevice device(system_);
  const platform::WinError first = device.OpenVirtualAudioDevice();
  EXPECT_NE(first, 0u);
  EXPECT_NE(first, kErrorDevNotExist);
  EXPECT_FALSE(device.CachedPath().empty()) << "the path was found";
  // The cached path fails again and a fresh lookup gives the same answer.
  EXPECT_EQ(device.OpenVirtualAudioDevice(), first);
  EXPECT_FALSE(device.IsOpen());
  EXPECT_FALSE(device.SendQuery());
  std::printf("device path %s: open failed with %u\n",
              std::string(device.CachedPath().begin(), device.CachedPath().end()).c_str(), first);
}

}  // namespace
}  // namespace audio
