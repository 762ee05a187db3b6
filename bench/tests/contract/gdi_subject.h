// The benchmark's GDI port under test and the screen behind it: simulated screens on Linux, the
// runner's Xvfb screen under Wine (its size and depth as the runner names it in OV_SCREEN).
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "bench/core/gdi.h"

namespace vexmark::testing {

struct Screen {
  int width = 0;
  int height = 0;
  int bits_per_pixel = 0;
};

// The screens this build's subject can show.
std::vector<Screen> ScreensUnderTest();

class GdiSubject {
 public:
  virtual ~GdiSubject() = default;

  virtual Gdi& gdi() = 0;
  // Gives every row of the screen a colour of its own, so a misplaced row shows.
  virtual void PaintRows() = 0;
  // The red, green and blue masks of a bitmap compatible with a 16-bit screen.
  virtual const std::uint32_t* SixteenBitBitmapMasks() = 0;
  // Whether a device context opens for a display name no device has.
  virtual bool OpensUnknownDisplays() = 0;
};

std::unique_ptr<GdiSubject> MakeGdiSubject(const Screen& screen);

}  // namespace vexmark::testing
