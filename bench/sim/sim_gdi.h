// GDI over the simulated screen: device contexts, compatible bitmaps, DIB sections, blits and
// GetDIBits with the header answers a real display driver gives for each screen depth, the
// display settings and display devices. Records the sink-window drawing sequence, keeps count of
// live objects and fails calls on request.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "bench/core/gdi.h"
#include "bench/sim/sim_screen.h"
#include "platform/sync.h"

namespace vexmark::sim {

struct SimGdiFaults {
  bool fail_screen_dc = false;
  bool fail_compatible_dc = false;
  bool fail_compatible_bitmap = false;
  int dib_sections_before_failure = -1;  // -1: never fail; 0: the next one fails
  bool fail_get_dibits_copy = false;
  bool fail_release_screen_dc = false;
  bool palette_screen_claims_true_colour = false;  // raster caps without RC_PALETTE
};

class SimGdi : public Gdi {
 public:
  // capture_cost_ms: time a blit from the screen takes, spent on clock.
  SimGdi(SimScreen& screen, platform::Clock& clock, std::uint32_t capture_cost_ms = 0);
  ~SimGdi() override;

  DcHandle GetScreenDC() override;
  bool ReleaseScreenDC(DcHandle dc) override;
  DcHandle GetWindowDC(WindowHandle window) override;
  void ReleaseWindowDC(WindowHandle window, DcHandle dc) override;
  DcHandle CreateDisplayDC(const std::string& device_name) override;
  DcHandle CreateCompatibleDC(DcHandle dc) override;
  bool DeleteDC(DcHandle dc) override;
  GdiObject CreateCompatibleBitmap(DcHandle dc, int width, int height) override;
  GdiObject CreateDIBSection(DcHandle dc, const BitmapInfo& info, std::uint8_t** bits) override;
  GdiObject CreateSolidBrush(std::uint32_t colour) override;
  GdiObject SelectObject(DcHandle dc, GdiObject object) override;
  bool DeleteObject(GdiObject object) override;
  int GetDIBits(DcHandle dc, GdiObject bitmap, std::uint32_t start, std::uint32_t lines, void* bits,
                BitmapInfo& info) override;
  bool BitBlt(DcHandle destination, int x, int y, int width, int height, DcHandle source,
              int source_x, int source_y, std::uint32_t rop) override;
  bool FillRect(DcHandle dc, const Rect& rect, GdiObject brush) override;
  void GdiFlush() override {}
  int GetDeviceCaps(DcHandle dc, int index) override;
  int GetSystemMetrics(int index) override;
  bool CurrentDisplayMode(DisplayMode& mode) override;
  bool EnumDisplayDevice(std::uint32_t index, DisplayDevice& device) override;
  std::uint32_t LastError() override { return last_error_; }

  SimGdiFaults faults;
  std::vector<DisplayDevice> display_devices;
  // The drawing done on window contexts, in order ("FillRect ...", "BitBlt ...").
  std::vector<std::string> window_drawing() const;
  int live_objects() const;  // contexts, bitmaps and brushes not yet given back
  int screen_captures() const;
  // Blits from the screen stop after this many until ReleaseCaptures (a slow display driver).
  void HoldCapturesAfter(int count);
  void ReleaseCaptures();
  // Waits until a capture is being held.
  void WaitUntilHeld();

 private:
  struct Bitmap;
  struct Dc;
  Bitmap* FindBitmap(GdiObject object);
  Dc* FindDc(DcHandle dc);
  std::uint32_t ReadRgb(DcHandle source, int x, int y);
  void WritePixel(Bitmap& bitmap, int x, int y, std::uint32_t rgb);
  std::uint32_t ReadBitmapRgb(const Bitmap& bitmap, int x, int y) const;

  SimScreen& screen_;
  platform::Clock& clock_;
  std::uint32_t capture_cost_ms_;
  mutable std::mutex mutex_;
  std::uint64_t next_handle_ = 0x100;
  std::map<std::uint64_t, std::unique_ptr<Dc>> dcs_;
  std::map<std::uint64_t, std::unique_ptr<Bitmap>> bitmaps_;
  std::map<std::uint64_t, std::uint32_t> brushes_;
  std::vector<std::string> window_drawing_;
  int screen_captures_ = 0;
  int hold_after_ = -1;
  bool holding_ = false;
  std::condition_variable held_changed_;
  std::uint32_t last_error_ = 0;
};

}  // namespace vexmark::sim
