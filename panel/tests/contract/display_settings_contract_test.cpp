// The display devices, their modes and the change calls as the topology switch uses them.
#include <gtest/gtest.h>

#include "display_settings_subject.h"
#include "panel/core/field_text.h"

namespace panel::testing {
namespace {

constexpr char16_t kNoSuchDevice[] = u"\\\\.\\DISPLAY9";

std::u16string PrimaryName(DisplaySettings& settings) {
  DisplayDeviceW device;
  device.cb = sizeof device;
  for (uint32_t index = 0; settings.EnumDevice(index, device, 0); ++index) {
    if (device.state_flags & kDisplayDevicePrimaryDevice) return FieldText(device.device_name);
    if (index > 16) break;
  }
  return {};
}

DevModeW Mode(uint32_t width, uint32_t height) {
  DevModeW mode;
  mode.size = sizeof mode;
  mode.fields = kDmPelsWidth | kDmPelsHeight;
  mode.pels_width = width;
  mode.pels_height = height;
  return mode;
}

TEST(PanelDisplaySettingsContractTest, ThePrimaryShowsItsCurrentModeAmongTheListedOnes) {
  auto subject = MakeDisplaySettingsSubject();
  DisplaySettings& settings = subject->settings();
  const ScreenMode expected = subject->Expected();
  const std::u16string primary = PrimaryName(settings);
  ASSERT_EQ(primary.rfind(u"\\\\.\\DISPLAY", 0), 0u);

  DevModeW current;
  current.size = sizeof current;
  ASSERT_TRUE(settings.EnumSettings(primary, kEnumCurrentSettings, current, 0));
  EXPECT_EQ(current.pels_width, expected.width);
  EXPECT_EQ(current.pels_height, expected.height);
  EXPECT_EQ(current.bits_per_pel, expected.bits_per_pel);
  EXPECT_EQ(current.fields & (kDmPelsWidth | kDmPelsHeight), kDmPelsWidth | kDmPelsHeight);

  // Numbered modes run from 0 without a gap, and the current one is among them.
  bool listed = false;
  uint32_t number = 0;
  for (DevModeW mode = Mode(0, 0); number < 4096; ++number) {
    if (!settings.EnumSettings(primary, number, mode, 0)) break;
    EXPECT_GT(mode.pels_width, 0u);
    listed |= mode.pels_width == expected.width && mode.pels_height == expected.height &&
              mode.bits_per_pel == expected.bits_per_pel;
  }
  EXPECT_GT(number, 0u);
  EXPECT_LT(number, 4096u);
  EXPECT_TRUE(listed);
}

TEST(PanelDisplaySettingsContractTest, AChangeIsTestedAgainstTheModesAndTheDeviceName) {
  auto subject = MakeDisplaySettingsSubject();
  DisplaySettings& settings = subject->settings();
  const ScreenMode expected = subject->Expected();
  const std::u16string primary = PrimaryName(settings);

  DevModeW same = Mode(expected.width, expected.height);
  EXPECT_EQ(settings.ChangeSettings(primary, &same, kCdsTest), kDispChangeSuccessful);
  DevModeW odd = Mode(1234, 567);
  EXPECT_EQ(settings.ChangeSettings(primary, &odd, kCdsTest), kDispChangeBadMode);
  // An empty name is the primary display.
  EXPECT_EQ(settings.ChangeSettings(u"", &odd, kCdsTest), kDispChangeBadMode);
  EXPECT_EQ(settings.ChangeSettings(kNoSuchDevice, &same, kCdsTest), kDispChangeBadParam);
  // Applying what was saved before changes nothing here and succeeds.
  EXPECT_EQ(settings.ChangeSettings(std::nullopt, nullptr, 0), kDispChangeSuccessful);

  DevModeW mode = Mode(0, 0);
  EXPECT_FALSE(settings.EnumSettings(kNoSuchDevice, kEnumCurrentSettings, mode, 0));
  EXPECT_FALSE(settings.EnumSettings(kNoSuchDevice, 0, mode, 0));
}

}  // namespace
}  // namespace panel::testing
