#include "gdi_subject.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "bench/win32/win32_gdi.h"

namespace vexmark::testing {
namespace {

class Win32GdiSubject : public GdiSubject {
 public:
  Gdi& gdi() override { return gdi_; }

  // Drawn straight onto the desktop, which Wine keeps on the X root window.
  void PaintRows() override {
    HDC screen = GetDC(nullptr);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    for (int y = 0; y < height; ++y) {
      HBRUSH brush = CreateSolidBrush(RGB(y * 7 & 0xFF, y * 3 & 0xFF, y * 11 & 0xFF));
      RECT row{0, y, width, y + 1};
      FillRect(screen, &row, brush);
      DeleteObject(brush);
    }
    GdiFlush();
    ReleaseDC(nullptr, screen);
  }

  // Wine keeps such bitmaps 5-5-5, though the X screen's own pixels are 5-6-5.
  const std::uint32_t* SixteenBitBitmapMasks() override {
    static constexpr std::uint32_t kMasks[3] = {0x7C00, 0x03E0, 0x001F};
    return kMasks;
  }
  // Wine opens any "\\.\DISPLAYn"; Windows refuses a name no device has.
  bool OpensUnknownDisplays() override { return true; }

 private:
  win32::Win32Gdi gdi_;
};

}  // namespace

// The screen the runner's Xvfb shows, as OV_SCREEN names it ("WxHxDEPTH"; an X screen of depth
// 24 shows 32 bits a pixel); without it an empty screen, which fails every check rather than
// running none.
std::vector<Screen> ScreensUnderTest() {
  const char* text = std::getenv("OV_SCREEN");
  Screen screen;
  if (text == nullptr ||
      std::sscanf(text, "%dx%dx%d", &screen.width, &screen.height, &screen.bits_per_pixel) != 3) {
    screen = {};
  }
  if (screen.bits_per_pixel == 24) screen.bits_per_pixel = 32;
  return {screen};
}

std::unique_ptr<GdiSubject> MakeGdiSubject(const Screen&) {
  return std::make_unique<Win32GdiSubject>();
}

}  // namespace vexmark::testing
