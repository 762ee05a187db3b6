#include "display_settings_subject.h"

#include "panel/win32/win32_display_settings.h"

namespace panel::testing {
namespace {

// The runner's Xvfb screen (see CMakeLists.txt); an X screen of depth 24 is 32 bits a pixel.
class Win32DisplaySettingsSubject : public DisplaySettingsSubject {
 public:
  DisplaySettings& settings() override { return settings_; }
  ScreenMode Expected() override { return {1600, 900, 32}; }

 private:
  win32::Win32DisplaySettings settings_;
};

}  // namespace

std::unique_ptr<DisplaySettingsSubject> MakeDisplaySettingsSubject() {
  return std::make_unique<Win32DisplaySettingsSubject>();
}

}  // namespace panel::testing
