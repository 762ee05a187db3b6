#include "bench/sim/sim_screen.h"

namespace vexmark::sim {

SimScreen::SimScreen(int width, int height, int bits_per_pixel)
    : width_(width), height_(height), bits_(bits_per_pixel) {}

std::uint32_t SimScreen::DevicePixel(int x, int y) const {
  std::uint32_t f = frame_;
  if (bits_ == 8) return static_cast<std::uint32_t>(x + y + f) & 0xFF;
  std::uint32_t r = static_cast<std::uint32_t>(x + f * 3) & 0xFF;
  std::uint32_t g = static_cast<std::uint32_t>(y * 2 + f) & 0xFF;
  std::uint32_t b = static_cast<std::uint32_t>((x ^ y) + f * 5) & 0xFF;
  if (bits_ == 16) {
    // What a 5-6-5 screen can show, widened back to 8 bits per channel.
    r = (r >> 3) * 255 / 31;
    g = (g >> 2) * 255 / 63;
    b = (b >> 3) * 255 / 31;
  }
  return (r << 16) | (g << 8) | b;
}

std::uint32_t SimScreen::PaletteEntry(int index) const {
  std::uint32_t i = static_cast<std::uint32_t>(index) & 0xFF;
  // The system palette keeps black first (what a blit past the screen's edge gives).
  if (i == 0) return 0;
  return (i << 16) | ((255 - i) << 8) | (i / 2);
}

std::uint32_t SimScreen::ToRgb(std::uint32_t device_pixel) const {
  return bits_ == 8 ? PaletteEntry(static_cast<int>(device_pixel)) : device_pixel;
}

void SimScreen::OnCaptured() {
  if (changes_per_capture_) ++frame_;
}

void SimScreen::ChangeMode(int width, int height, int bits_per_pixel) {
  width_ = width;
  height_ = height;
  bits_ = bits_per_pixel;
  ++mode_serial_;
}

}  // namespace vexmark::sim
