#include "display_settings_subject.h"

#include "panel/sim/sim_display_settings.h"

namespace panel::testing {
namespace {

DevModeW ModeOf(uint32_t width, uint32_t height, uint32_t bits) {
  DevModeW mode = sim::SavedMode(0, 0, width, height);
  mode.bits_per_pel = bits;
  return mode;
}

// One attached primary display, as Wine shows its X screen.
class SimDisplaySettingsSubject : public DisplaySettingsSubject {
 public:
  SimDisplaySettingsSubject() {
    sim::SimDisplayDevice device;
    device.name = u"\\\\.\\DISPLAY1";
    device.description = u"Simulated display adapter";
    device.state_flags = 0x1 | kDisplayDevicePrimaryDevice;
    device.modes = {ModeOf(1600, 900, 32), ModeOf(1280, 1024, 16), ModeOf(1280, 1024, 32),
                    ModeOf(800, 600, 32)};
    device.current_settings = ModeOf(1600, 900, 32);
    sim_.devices.push_back(device);
  }

  DisplaySettings& settings() override { return sim_; }
  ScreenMode Expected() override { return {1600, 900, 32}; }

 private:
  sim::SimDisplaySettings sim_;
};

}  // namespace

std::unique_ptr<DisplaySettingsSubject> MakeDisplaySettingsSubject() {
  return std::make_unique<SimDisplaySettingsSubject>();
}

}  // namespace panel::testing
