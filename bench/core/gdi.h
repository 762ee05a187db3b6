// What the benchmark needs of GDI and the display settings: device contexts, bitmaps, DIB
// sections, blits, brushes, metrics, device capabilities and the display devices. Handles are
// opaque numbers, 0 for none.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "bench/core/kmd_ports.h"
#include "bench/core/pixel_format.h"

namespace vexmark {

using GdiObject = std::uint64_t;  // bitmaps, DIB sections, brushes
using WindowHandle = std::uint64_t;

// BITMAPINFOHEADER and room for 256 colour-table entries (or the three masks of a bit-field
// format), laid out as GDI reads and writes them.
struct BitmapInfoHeader {
  std::uint32_t biSize;
  std::int32_t biWidth;
  std::int32_t biHeight;
  std::uint16_t biPlanes;
  std::uint16_t biBitCount;
  std::uint32_t biCompression;
  std::uint32_t biSizeImage;
  std::int32_t biXPelsPerMeter;
  std::int32_t biYPelsPerMeter;
  std::uint32_t biClrUsed;
  std::uint32_t biClrImportant;
};
static_assert(sizeof(BitmapInfoHeader) == 40);
static_assert(offsetof(BitmapInfoHeader, biBitCount) == 14);
static_assert(offsetof(BitmapInfoHeader, biCompression) == 16);
static_assert(offsetof(BitmapInfoHeader, biSizeImage) == 20);
static_assert(offsetof(BitmapInfoHeader, biClrUsed) == 32);

struct BitmapInfo {
  BitmapInfoHeader header;
  std::uint32_t colours[256];
};
static_assert(sizeof(BitmapInfo) == 40 + 1024);

// GDI pads every DIB row to a whole number of 32-bit words.
inline std::uint64_t DibRowBytes(std::uint64_t width, std::uint64_t bits_per_pixel) {
  return (width * bits_per_pixel + 31) / 32 * 4;
}

inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiBitfields = 3;
inline constexpr std::uint32_t kSrcCopy = 0x00CC0020;
inline constexpr std::uint32_t kSrcInvert = 0x00660046;
inline constexpr int kDevCapsBitsPixel = 12;
inline constexpr int kDevCapsPlanes = 14;
inline constexpr int kDevCapsRasterCaps = 38;
inline constexpr int kRcPalette = 0x0100;
inline constexpr int kSmCxScreen = 0;
inline constexpr int kSmCyScreen = 1;
inline constexpr std::uint32_t kDisplayAttachedToDesktop = 1;
inline constexpr std::uint32_t kDisplayPrimaryDevice = 4;

struct DisplayMode {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t bitsPerPixel = 0;
};

struct DisplayDevice {
  std::string name;  // DeviceName, "\\.\DISPLAY1"
  std::uint32_t state_flags = 0;
  std::string device_id;  // DeviceID, "PCI\VEN_...&DEV_..."
};

class Gdi {
 public:
  virtual ~Gdi() = default;
  virtual DcHandle GetScreenDC() = 0;  // GetDC of the whole screen
  virtual bool ReleaseScreenDC(DcHandle dc) = 0;
  virtual DcHandle GetWindowDC(WindowHandle window) = 0;  // GetDC of a window
  virtual void ReleaseWindowDC(WindowHandle window, DcHandle dc) = 0;
  virtual DcHandle CreateDisplayDC(const std::string& device_name) = 0;  // CreateDCA
  virtual DcHandle CreateCompatibleDC(DcHandle dc) = 0;
  virtual bool DeleteDC(DcHandle dc) = 0;
  virtual GdiObject CreateCompatibleBitmap(DcHandle dc, int width, int height) = 0;
  // DIB_RGB_COLORS, no section handle; bits receives the pixel memory.
  virtual GdiObject CreateDIBSection(DcHandle dc, const BitmapInfo& info, std::uint8_t** bits) = 0;
  virtual GdiObject CreateSolidBrush(std::uint32_t colour) = 0;
  virtual GdiObject SelectObject(DcHandle dc, GdiObject object) = 0;
  virtual bool DeleteObject(GdiObject object) = 0;
  // DIB_RGB_COLORS. With bits null, fills the header (and colour table or masks) only.
  virtual int GetDIBits(DcHandle dc, GdiObject bitmap, std::uint32_t start, std::uint32_t lines,
                        void* bits, BitmapInfo& info) = 0;
  virtual bool BitBlt(DcHandle destination, int x, int y, int width, int height, DcHandle source,
                      int source_x, int source_y, std::uint32_t rop) = 0;
  virtual bool FillRect(DcHandle dc, const Rect& rect, GdiObject brush) = 0;
  virtual void GdiFlush() = 0;
  virtual int GetDeviceCaps(DcHandle dc, int index) = 0;
  virtual int GetSystemMetrics(int index) = 0;
  // EnumDisplaySettingsA with the current settings of the primary display.
  virtual bool CurrentDisplayMode(DisplayMode& mode) = 0;
  // EnumDisplayDevicesA with no parent device.
  virtual bool EnumDisplayDevice(std::uint32_t index, DisplayDevice& device) = 0;
  virtual std::uint32_t LastError() = 0;
};

}  // namespace vexmark
