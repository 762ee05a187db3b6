// GDI and the display settings for the benchmark, on the real system calls.
#pragma once
#include "bench/core/gdi.h"

namespace vexmark::win32 {

class Win32Gdi : public Gdi {
 public:
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
  void GdiFlush() override;
  int GetDeviceCaps(DcHandle dc, int index) override;
  int GetSystemMetrics(int index) override;
  bool CurrentDisplayMode(DisplayMode& mode) override;
  bool EnumDisplayDevice(std::uint32_t index, DisplayDevice& device) override;
  std::uint32_t LastError() override;
};

}  // namespace vexmark::win32
