// The display-settings port under test and the screen the system behind it shows: a simulated
// PC set up like Wine's single X screen on Linux, the real user32 under Wine.
#pragma once
#include <cstdint>
#include <memory>

#include "panel/core/display_settings.h"

namespace panel::testing {

struct ScreenMode {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t bits_per_pel = 0;
};

class DisplaySettingsSubject {
 public:
  virtual ~DisplaySettingsSubject() = default;

  virtual DisplaySettings& settings() = 0;
  // The primary display's current mode.
  virtual ScreenMode Expected() = 0;
};

std::unique_ptr<DisplaySettingsSubject> MakeDisplaySettingsSubject();

}  // namespace panel::testing
