// A simulated primary screen: size, bits per pixel (8 with a palette, 16, 24 or 32), content
// that changes from frame to frame, another program's exclusive mode and display mode changes.
#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>

namespace vexmark::sim {

class SimScreen {
 public:
  SimScreen(int width, int height, int bits_per_pixel);

  int width() const { return width_; }
  int height() const { return height_; }
  int bits_per_pixel() const { return bits_; }
  bool palette_based() const { return bits_ == 8; }

  // The pixel at (x, y) of the current frame: a palette index on 8-bit screens, else 0x00RRGGBB
  // (already reduced to 5-6-5 precision on 16-bit screens).
  std::uint32_t DevicePixel(int x, int y) const;
  // Red, green, blue of a device pixel.
  std::uint32_t ToRgb(std::uint32_t device_pixel) const;
  std::uint32_t PaletteEntry(int index) const;

  // Each capture of the screen sees a new frame when set.
  void set_changes_per_capture(bool changes) { changes_per_capture_ = changes; }
  void OnCaptured();
  std::uint32_t frame() const { return frame_; }

  // Another program takes (or leaves) DirectDraw exclusive mode.
  void set_exclusive_mode(bool taken) { exclusive_ = taken; }
  bool exclusive_mode() const { return exclusive_; }
  // A new display mode; DirectDraw objects made before it see a wrong mode.
  void ChangeMode(int width, int height, int bits_per_pixel);
  std::uint32_t mode_serial() const { return mode_serial_; }

 private:
  int width_;
  int height_;
  int bits_;
  std::atomic<std::uint32_t> frame_{0};
  std::atomic<bool> changes_per_capture_{true};
  std::atomic<bool> exclusive_{false};
  std::atomic<std::uint32_t> mode_serial_{0};
};

}  // namespace vexmark::sim
