#include "bench/sim/sim_gdi.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

#include "platform/win_error.h"

namespace vexmark::sim {

namespace {

constexpr GdiObject kStockBitmap = 0x1;
constexpr GdiObject kStockBrush = 0x2;

std::size_t Stride(int width, int bits) {
  return (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
}

std::uint32_t PackMasked(std::uint32_t rgb, std::uint32_t mask_r, std::uint32_t mask_g,
                         std::uint32_t mask_b) {
  auto channel = [](std::uint32_t value, std::uint32_t mask) -> std::uint32_t {
    if (mask == 0) return 0;
    int bits = std::popcount(mask);
    int shift = std::countr_zero(mask);
    return ((value & 0xFF) >> (8 - bits)) << shift;
  };
  return channel(rgb >> 16, mask_r) | channel(rgb >> 8, mask_g) | channel(rgb, mask_b);
}

std::uint32_t UnpackMasked(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  int bits = std::popcount(mask);
  std::uint32_t value = (pixel & mask) >> std::countr_zero(mask);
  return value * 255 / ((1u << bits) - 1);
}

}  // namespace

struct SimGdi::Bitmap {
  int width = 0;
  int height = 0;
  bool dib = false;
  int bits = 0;           // DIB sections: 8, 16 or 32
  bool top_down = false;  // DIB sections
  std::uint32_t masks[3] = {0xF800, 0x07E0, 0x001F};
  std::vector<std::uint32_t> device;  // compatible bitmaps: screen pixels
  std::vector<std::uint8_t> storage;  // DIB sections
  DcHandle selected_in = 0;
};

struct SimGdi::Dc {
  enum class Kind { kScreen, kMemory, kWindow, kDisplay } kind = Kind::kMemory;
  GdiObject bitmap = kStockBitmap;
  GdiObject brush = kStockBrush;
  WindowHandle window = 0;
};

SimGdi::SimGdi(SimScreen& screen, platform::Clock& clock, std::uint32_t capture_cost_ms)
    : screen_(screen), clock_(clock), capture_cost_ms_(capture_cost_ms) {}

SimGdi::~SimGdi() = default;

SimGdi::Bitmap* SimGdi::FindBitmap(GdiObject object) {
  auto it = bitmaps_.find(object);
  return it == bitmaps_.end() ? nullptr : it->second.get();
}

SimGdi::Dc* SimGdi::FindDc(DcHandle dc) {
  auto it = dcs_.find(dc);
  return it == dcs_.end() ? nullptr : it->second.get();
}

DcHandle SimGdi::GetScreenDC() {
  std::lock_guard lock(mutex_);
  if (faults.fail_screen_dc) {
    last_error_ = platform::kErrorInvalidParameter;
    return 0;
  }
  auto dc = std::make_unique<Dc>();
  dc->kind = Dc::Kind::kScreen;
  DcHandle id = next_handle_++;
  dcs_[id] = std::move(dc);
  return id;
}

bool SimGdi::ReleaseScreenDC(DcHandle dc) {
  std::lock_guard lock(mutex_);
  Dc* d = FindDc(dc);
  if (!d || d->kind != Dc::Kind::kScreen) return false;
  dcs_.erase(dc);
  return !faults.fail_release_screen_dc;
}

DcHandle SimGdi::GetWindowDC(WindowHandle window) {
  std::lock_guard lock(mutex_);
  auto dc = std::make_unique<Dc>();
  dc->kind = Dc::Kind::kWindow;
  dc->window = window;
  DcHandle id = next_handle_++;
  dcs_[id] = std::move(dc);
  return id;
}

void SimGdi::ReleaseWindowDC(WindowHandle /*window*/, DcHandle dc) {
  std::lock_guard lock(mutex_);
  dcs_.erase(dc);
}

DcHandle SimGdi::CreateDisplayDC(const std::string& device_name) {
  std::lock_guard lock(mutex_);
  for (const DisplayDevice& device : display_devices) {
    if (device.name == device_name) {
      auto dc = std::make_unique<Dc>();
      dc->kind = Dc::Kind::kDisplay;
      DcHandle id = next_handle_++;
      dcs_[id] = std::move(dc);
      return id;
    }
  }
  last_error_ = platform::kErrorInvalidParameter;
  return 0;
}

DcHandle SimGdi::CreateCompatibleDC(DcHandle dc) {
  std::lock_guard lock(mutex_);
  if (faults.fail_compatible_dc || !FindDc(dc)) {
    last_error_ = platform::kErrorInvalidParameter;
    return 0;
  }
  DcHandle id = next_handle_++;
  dcs_[id] = std::make_unique<Dc>();
  return id;
}

bool SimGdi::DeleteDC(DcHandle dc) {
  std::lock_guard lock(mutex_);
  Dc* d = FindDc(dc);
  if (!d) return false;
  if (Bitmap* b = FindBitmap(d->bitmap)) b->selected_in = 0;
  dcs_.erase(dc);
  return true;
}

GdiObject SimGdi::CreateCompatibleBitmap(DcHandle dc, int width, int height) {
  std::lock_guard lock(mutex_);
  if (faults.fail_compatible_bitmap || !FindDc(dc) || width <= 0 || height <= 0) {
    last_error_ = platform::kErrorNotEnoughMemory;
    return 0;
  }
  auto bitmap = std::make_unique<Bitmap>();
  bitmap->width = width;
  bitmap->height = height;
  GdiObject id = next_handle_++;
  bitmaps_[id] = std::move(bitmap);
  return id;
}

GdiObject SimGdi::CreateDIBSection(DcHandle dc, const BitmapInfo& info, std::uint8_t** bits) {
  std::lock_guard lock(mutex_);
  *bits = nullptr;
  const BitmapInfoHeader& h = info.header;
  bool supported = h.biBitCount == 8 || h.biBitCount == 16 || h.biBitCount == 32;
  if (!FindDc(dc) || !supported || h.biWidth <= 0 || h.biHeight == 0) {
    last_error_ = platform::kErrorInvalidParameter;
    return 0;
  }
  if (faults.dib_sections_before_failure == 0) {
    last_error_ = platform::kErrorNotEnoughMemory;
    return 0;
  }
  if (faults.dib_sections_before_failure > 0) --faults.dib_sections_before_failure;
  auto bitmap = std::make_unique<Bitmap>();
  bitmap->width = h.biWidth;
  bitmap->height = std::abs(h.biHeight);
  bitmap->dib = true;
  bitmap->bits = h.biBitCount;
  bitmap->top_down = h.biHeight < 0;
  if (h.biBitCount == 16 && h.biCompression == kBiBitfields) {
    for (int i = 0; i < 3; ++i) bitmap->masks[i] = info.colours[i];
  } else if (h.biBitCount == 16) {
    bitmap->masks[0] = 0x7C00;
    bitmap->masks[1] = 0x03E0;
    bitmap->masks[2] = 0x001F;
  }
  bitmap->storage.assign(Stride(bitmap->width, bitmap->bits) * bitmap->height, 0);
  *bits = bitmap->storage.data();
  GdiObject id = next_handle_++;
  bitmaps_[id] = std::move(bitmap);
  return id;
}

GdiObject SimGdi::CreateSolidBrush(std::uint32_t colour) {
  std::lock_guard lock(mutex_);
  GdiObject id = next_handle_++;
  brushes_[id] = colour;
  return id;
}

GdiObject SimGdi::SelectObject(DcHandle dc, GdiObject object) {
  std::lock_guard lock(mutex_);
  Dc* d = FindDc(dc);
  if (!d) return 0;
  if (brushes_.count(object) || object == kStockBrush) {
    GdiObject previous = d->brush;
    d->brush = object;
    return previous;
  }
  Bitmap* b = FindBitmap(object);
  if (!b && object != kStockBitmap) return 0;
  // A bitmap can be selected into one memory context at a time.
  if (b && b->selected_in != 0 && b->selected_in != dc) return 0;
  if (Bitmap* previous = FindBitmap(d->bitmap)) previous->selected_in = 0;
  GdiObject previous = d->bitmap;
  d->bitmap = object;
  if (b) b->selected_in = dc;
  return previous;
}

bool SimGdi::DeleteObject(GdiObject object) {
  std::lock_guard lock(mutex_);
  if (object == kStockBitmap || object == kStockBrush) return true;
  return bitmaps_.erase(object) + brushes_.erase(object) > 0;
}

std::uint32_t SimGdi::ReadBitmapRgb(const Bitmap& bitmap, int x, int y) const {
  if (!bitmap.dib)
    return screen_.ToRgb(bitmap.device[static_cast<std::size_t>(y) * bitmap.width + x]);
  int row = bitmap.top_down ? y : bitmap.height - 1 - y;
  const std::uint8_t* p =
      bitmap.storage.data() + Stride(bitmap.width, bitmap.bits) * row + x * bitmap.bits / 8;
  if (bitmap.bits == 32) return (p[2] << 16) | (p[1] << 8) | p[0];
  if (bitmap.bits == 16) {
    std::uint32_t v = p[0] | (p[1] << 8);
    return (UnpackMasked(v, bitmap.masks[0]) << 16) | (UnpackMasked(v, bitmap.masks[1]) << 8) |
           UnpackMasked(v, bitmap.masks[2]);
  }
  return screen_.PaletteEntry(p[0]);
}

void SimGdi::WritePixel(Bitmap& bitmap, int x, int y, std::uint32_t device) {
  if (!bitmap.dib) {
    // Pixel memory of a compatible bitmap is made at its first drawing.
    if (bitmap.device.empty()) {
      bitmap.device.assign(static_cast<std::size_t>(bitmap.width) * bitmap.height, 0);
    }
    bitmap.device[static_cast<std::size_t>(y) * bitmap.width + x] = device;
    return;
  }
  int row = bitmap.top_down ? y : bitmap.height - 1 - y;
  std::uint8_t* p =
      bitmap.storage.data() + Stride(bitmap.width, bitmap.bits) * row + x * bitmap.bits / 8;
  if (bitmap.bits == 8) {
    p[0] = static_cast<std::uint8_t>(device);
    return;
  }
  std::uint32_t rgb = screen_.ToRgb(device);
  if (bitmap.bits == 32) {
    p[0] = static_cast<std::uint8_t>(rgb);
    p[1] = static_cast<std::uint8_t>(rgb >> 8);
    p[2] = static_cast<std::uint8_t>(rgb >> 16);
    p[3] = 0;
    return;
  }
  std::uint32_t v = PackMasked(rgb, bitmap.masks[0], bitmap.masks[1], bitmap.masks[2]);
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

int SimGdi::GetDIBits(DcHandle dc, GdiObject object, std::uint32_t start, std::uint32_t lines,
                      void* bits, BitmapInfo& info) {
  std::lock_guard lock(mutex_);
  Bitmap* bitmap = FindBitmap(object);
  if (!FindDc(dc) || !bitmap) {
    last_error_ = platform::kErrorInvalidParameter;
    return 0;
  }
  BitmapInfoHeader& h = info.header;
  if (bits == nullptr) {
    // The format the driver keeps the bitmap in.
    int depth = bitmap->dib ? bitmap->bits : screen_.bits_per_pixel();
    h.biSize = sizeof(BitmapInfoHeader);
    h.biWidth = bitmap->width;
    h.biHeight = bitmap->height;
    h.biPlanes = 1;
    // A header that already names bit fields (the second call) gets the bitmap's masks.
    const bool masks_asked = h.biCompression == kBiBitfields && h.biBitCount == depth;
    h.biBitCount = static_cast<std::uint16_t>(depth);
    // As Wine answers: 16 and 32 bits as bit fields, whatever the driver's layout.
    h.biCompression = depth == 16 || depth == 32 ? kBiBitfields : kBiRgb;
    h.biSizeImage = static_cast<std::uint32_t>(Stride(bitmap->width, depth) * bitmap->height);
    h.biClrUsed = 0;
    if (depth == 8) {
      for (int i = 0; i < 256; ++i) info.colours[i] = screen_.PaletteEntry(i);
    } else if (masks_asked) {
      const bool sixteen = depth == 16;
      info.colours[0] = sixteen ? bitmap->masks[0] : 0xFF0000;
      info.colours[1] = sixteen ? bitmap->masks[1] : 0x00FF00;
      info.colours[2] = sixteen ? bitmap->masks[2] : 0x0000FF;
    }
    return bitmap->height;
  }
  if (faults.fail_get_dibits_copy) {
    last_error_ = platform::kErrorInvalidParameter;
    return 0;
  }
  int out_bits = h.biBitCount;
  if (out_bits != 8 && out_bits != 16 && out_bits != 32) {
    last_error_ = platform::kErrorInvalidParameter;
    return 0;
  }
  std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
  if (out_bits == 16 && h.biCompression == kBiBitfields) {
    // From a 16-bit bitmap the rows come in its own layout, whatever masks were asked for, and
    // the masks say so (Wine). From other depths Wine ignores the masks and gives the low 16 bits
    // of each 32-bit pixel; the masks asked for are honoured here instead.
    const bool sixteen = (bitmap->dib ? bitmap->bits : screen_.bits_per_pixel()) == 16;
    for (int i = 0; i < 3; ++i) {
      if (sixteen) info.colours[i] = bitmap->masks[i];
      masks[i] = info.colours[i];
    }
  }
  // Scan lines count from the bottom of the bitmap, also for a top-down header, which only
  // turns the order of the copied rows.
  const auto height = static_cast<std::uint32_t>(bitmap->height);
  if (start >= height) return 0;
  const std::uint32_t copied = std::min(lines, height - start);
  const int first_row = bitmap->height - static_cast<int>(start + copied);
  bool top_down = h.biHeight < 0;
  std::size_t stride = Stride(bitmap->width, out_bits);
  auto* out = static_cast<std::uint8_t*>(bits);
  for (std::uint32_t i = 0; i < copied; ++i) {
    int y = top_down ? first_row + static_cast<int>(i)
                     : bitmap->height - 1 - static_cast<int>(start + i);
    std::uint8_t* p = out + stride * i;
    for (int x = 0; x < bitmap->width; ++x) {
      if (out_bits == 8) {
        p[x] = static_cast<std::uint8_t>(
            bitmap->dib || bitmap->device.empty() ? 0 : bitmap->device[y * bitmap->width + x]);
        continue;
      }
      std::uint32_t rgb = ReadBitmapRgb(*bitmap, x, y);
      if (out_bits == 32) {
        p[x * 4 + 0] = static_cast<std::uint8_t>(rgb);
        p[x * 4 + 1] = static_cast<std::uint8_t>(rgb >> 8);
        p[x * 4 + 2] = static_cast<std::uint8_t>(rgb >> 16);
        p[x * 4 + 3] = 0;
      } else {
        std::uint32_t v = PackMasked(rgb, masks[0], masks[1], masks[2]);
        p[x * 2] = static_cast<std::uint8_t>(v);
        p[x * 2 + 1] = static_cast<std::uint8_t>(v >> 8);
      }
    }
  }
  return static_cast<int>(copied);
}

bool SimGdi::BitBlt(DcHandle destination, int x, int y, int width, int height, DcHandle source,
                    int source_x, int source_y, std::uint32_t rop) {
  bool from_screen = false;
  {
    std::lock_guard lock(mutex_);
    Dc* dst = FindDc(destination);
    Dc* src = FindDc(source);
    if (!dst || !src) {
      last_error_ = platform::kErrorInvalidParameter;
      return false;
    }
    if (dst->kind == Dc::Kind::kWindow) {
      window_drawing_.push_back("BitBlt window " + std::to_string(width) + "x" +
                                std::to_string(height) +
                                (rop == kSrcInvert ? " SRCINVERT" : " other"));
      return true;
    }
    if (src->kind == Dc::Kind::kWindow) {
      window_drawing_.push_back("BitBlt from window " + std::to_string(width) + "x" +
                                std::to_string(height) + (rop == kSrcCopy ? " SRCCOPY" : " other"));
    }
    Bitmap* target = FindBitmap(dst->bitmap);
    if (!target || rop != kSrcCopy) return target != nullptr;
    // The screen, and (through the filter driver) the sink window, show the desktop.
    from_screen = src->kind == Dc::Kind::kScreen || src->kind == Dc::Kind::kWindow;
    for (int row = 0; row < height; ++row) {
      int ty = y + row;
      int sy = source_y + row;
      if (ty < 0 || ty >= target->height) continue;
      for (int col = 0; col < width; ++col) {
        int tx = x + col;
        int sx = source_x + col;
        if (tx < 0 || tx >= target->width) continue;
        // What lies past the screen's edges is copied as black, as Wine does.
        const bool on_screen = sy >= 0 && sy < screen_.height() && sx >= 0 && sx < screen_.width();
        WritePixel(*target, tx, ty, from_screen && on_screen ? screen_.DevicePixel(sx, sy) : 0);
      }
    }
    if (from_screen) ++screen_captures_;
  }
  if (from_screen) {
    std::unique_lock lock(mutex_);
    if (hold_after_ >= 0 && screen_captures_ >= hold_after_) {
      holding_ = true;
      held_changed_.notify_all();
      held_changed_.wait(lock, [&] { return hold_after_ < 0; });
      holding_ = false;
    }
  }
  if (from_screen) {
    screen_.OnCaptured();
    if (capture_cost_ms_) clock_.Sleep(capture_cost_ms_);
  }
  return true;
}

bool SimGdi::FillRect(DcHandle dc, const Rect& rect, GdiObject brush) {
  std::lock_guard lock(mutex_);
  Dc* d = FindDc(dc);
  auto colour = brushes_.find(brush);
  if (!d || colour == brushes_.end()) return false;
  if (d->kind == Dc::Kind::kWindow) {
    char text[96];
    std::snprintf(text, sizeof text, "FillRect window %d,%d,%d,%d colour %06X", rect.left, rect.top,
                  rect.right, rect.bottom, colour->second);
    window_drawing_.push_back(text);
  }
  return true;
}

int SimGdi::GetDeviceCaps(DcHandle /*dc*/, int index) {
  if (index == kDevCapsPlanes) return 1;
  if (index == kDevCapsBitsPixel) return screen_.bits_per_pixel();
  if (index == kDevCapsRasterCaps) {
    return screen_.palette_based() && !faults.palette_screen_claims_true_colour ? kRcPalette : 0;
  }
  return 0;
}

int SimGdi::GetSystemMetrics(int index) {
  if (index == kSmCxScreen) return screen_.width();
  if (index == kSmCyScreen) return screen_.height();
  return 0;
}

bool SimGdi::CurrentDisplayMode(DisplayMode& mode) {
  mode.width = static_cast<std::uint32_t>(screen_.width());
  mode.height = static_cast<std::uint32_t>(screen_.height());
  mode.bitsPerPixel = static_cast<std::uint32_t>(screen_.bits_per_pixel());
  return true;
}

bool SimGdi::EnumDisplayDevice(std::uint32_t index, DisplayDevice& device) {
  if (index >= display_devices.size()) return false;
  device = display_devices[index];
  return true;
}

std::vector<std::string> SimGdi::window_drawing() const {
  std::lock_guard lock(mutex_);
  return window_drawing_;
}

int SimGdi::screen_captures() const {
  std::lock_guard lock(mutex_);
  return screen_captures_;
}

void SimGdi::HoldCapturesAfter(int count) {
  std::lock_guard lock(mutex_);
  hold_after_ = count;
}

void SimGdi::ReleaseCaptures() {
  std::lock_guard lock(mutex_);
  hold_after_ = -1;
  held_changed_.notify_all();
}

void SimGdi::WaitUntilHeld() {
  std::unique_lock lock(mutex_);
  held_changed_.wait(lock, [&] { return holding_; });
}

int SimGdi::live_objects() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(dcs_.size() + bitmaps_.size() + brushes_.size());
}

}  // namespace vexmark::sim
