#include "gdi_subject.h"

#include "bench/sim/sim_gdi.h"
#include "bench/sim/sim_screen.h"
#include "platform/sim/sim_sync.h"

namespace vexmark::testing {
namespace {

// The simulated screen's rows have colours of their own already.
class SimGdiSubject : public GdiSubject {
 public:
  explicit SimGdiSubject(const Screen& screen)
      : screen_(screen.width, screen.height, screen.bits_per_pixel), gdi_(screen_, clock_) {
    gdi_.display_devices = {{"\\\\.\\DISPLAY1", kDisplayAttachedToDesktop | kDisplayPrimaryDevice,
                             "PCI\\VEN_1234&DEV_1111"}};
    screen_.set_changes_per_capture(false);
  }

  Gdi& gdi() override { return gdi_; }
  void PaintRows() override {}
  // The simulated driver keeps the 5-6-5 layout most 16-bit display drivers use.
  const std::uint32_t* SixteenBitBitmapMasks() override {
    static constexpr std::uint32_t kMasks[3] = {0xF800, 0x07E0, 0x001F};
    return kMasks;
  }
  bool OpensUnknownDisplays() override { return false; }

 private:
  platform::sim::VirtualClock clock_;
  sim::SimScreen screen_;
  sim::SimGdi gdi_;
};

}  // namespace

// The screens the Wine runs show (see CMakeLists.txt): odd widths, so rows need padding.
std::vector<Screen> ScreensUnderTest() {
  return {{1365, 767, 32}, {1365, 767, 16}, {1365, 767, 8}};
}

std::unique_ptr<GdiSubject> MakeGdiSubject(const Screen& screen) {
  return std::make_unique<SimGdiSubject>(screen);
}

}  // namespace vexmark::testing
