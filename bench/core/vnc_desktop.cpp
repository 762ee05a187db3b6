#include "bench/core/vnc_desktop.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace vexmark {

namespace {

constexpr std::uint32_t kKernelSinkBrushColour = 0x00EDEFBE;
constexpr Rect kKernelSinkFill{0, 0, 222, 173};
constexpr int kKernelSinkInvertWidth = 202;
constexpr int kKernelSinkInvertHeight = 254;
constexpr std::uint32_t kModeSteadyMs = 1000;
constexpr std::uint64_t kLargestFrame = std::numeric_limits<std::int32_t>::max();

int TrailingZeros(std::uint32_t mask) {
  int shift = 0;
  while (shift < 32 && !(mask & (1u << shift))) ++shift;
  return shift;
}

}  // namespace

vncDesktop::~vncDesktop() {
  log_("In ~vncDesktop()...\n");
  Shutdown();
}

bool vncDesktop::KernelModeRendering() const {
  return state_.options.bUseKMDRenderWDDM1_0 || state_.options.bUseKMDRenderWDDM1_1;
}

bool vncDesktop::Startup() {
  if (!SetupBitmap()) return false;
  ConvertHeader();
  if (!InitPixelFormat()) return false;
  if (!CreateBuffers()) return false;
  if (!SetPixShifts()) return false;
  if (!InitWindow()) return false;
  if (state_.options.bUseKMDRenderWDDM1_0) {
    log_("Connect to WDDM 1.0 kernal-mode driver...\n");
    if (!ports_.kmd.KmdConnect(state_.adapter, ports_.kmd.update_mode())) {
      log_("KmdConnect failed!\n");
      return false;
    }
  }
  direct_draw_ = ports_.direct_draw.Create();
  if (!direct_draw_) return false;
  return direct_draw_->SetCooperativeLevelNormal() >= 0;
}

bool vncDesktop::SetupBitmap() {
  Gdi& gdi = ports_.gdi;
  if (m_hrootdc == 0) {
    m_hrootdc = gdi.GetScreenDC();
    if (m_hrootdc == 0) {
      log_("GetDC() failed, error=%d\n", static_cast<int>(gdi.LastError()));
      return false;
    }
  }
  bounds_ = Rect{0, 0, gdi.GetSystemMetrics(kSmCxScreen), gdi.GetSystemMetrics(kSmCyScreen)};
  log_("source desktop metrics: (%d, %d, %d, %d)\n", bounds_.left, bounds_.top, bounds_.right,
       bounds_.bottom);
  log_("bitmap dimensions are %dx%d\n", bounds_.right - bounds_.left, bounds_.bottom - bounds_.top);

  m_hmemdc = gdi.CreateCompatibleDC(m_hrootdc);
  if (m_hmemdc == 0) {
    log_("CreateCompatibleDC() failed, error=%d\n", static_cast<int>(gdi.LastError()));
    return false;
  }
  membitmap_ = gdi.CreateCompatibleBitmap(m_hrootdc, bounds_.right - bounds_.left,
                                          bounds_.bottom - bounds_.top);
  if (membitmap_ == 0) {
    log_("failed to create memory bitmap, error=%d\n", static_cast<int>(gdi.LastError()));
    return false;
  }
  log_("created memory bitmap\n");

  bmi_ = BitmapInfo{};
  bmi_.header.biSize = sizeof(BitmapInfoHeader);
  bmi_.header.biBitCount = 0;
  // The first call fills the header, the second the colour table or the masks.
  if (gdi.GetDIBits(m_hmemdc, membitmap_, 0, 1, nullptr, bmi_) == 0) return false;
  if (gdi.GetDIBits(m_hmemdc, membitmap_, 0, 1, nullptr, bmi_) == 0) return false;
  log_("got bitmap format\n");
  log_("DBG:display context has %d planes!\n", gdi.GetDeviceCaps(m_hrootdc, kDevCapsPlanes));
  log_("DBG:memory context has %d planes!\n", gdi.GetDeviceCaps(m_hmemdc, kDevCapsPlanes));

  bmi_.header.biHeight = -std::abs(bmi_.header.biHeight);
  true_colour_ = (gdi.GetDeviceCaps(m_hmemdc, kDevCapsRasterCaps) & kRcPalette) ? 0 : 1;
  return true;
}

void vncDesktop::ConvertHeader() {
  BitmapInfoHeader& h = bmi_.header;
  format_converted_ = true_colour_ ? 0 : 1;
  switch (h.biBitCount) {
    case 1:
    case 4:
      log_("DBG:used/bits/planes/comp/size = %d/%d/%d/%d/%d\n", static_cast<int>(h.biClrUsed),
           h.biBitCount, h.biPlanes, static_cast<int>(h.biCompression),
           static_cast<int>(h.biSizeImage));
      h.biBitCount = 8;
      h.biClrUsed = 0;
      h.biCompression = kBiRgb;
      h.biClrImportant = 0;
      true_colour_ = 0;
      h.biSizeImage = static_cast<std::uint32_t>(
          DibRowBytes(static_cast<std::uint64_t>(std::abs(static_cast<long long>(h.biWidth))), 8) *
          static_cast<std::uint64_t>(std::abs(static_cast<long long>(h.biHeight))));
      break;
    case 16:
      // The encoders read every 16-bit desktop as 5-6-5; ask GDI for exactly that, whatever
      // layout the driver keeps (a plain 16-bit header would mean 5-5-5).
      h.biCompression = kBiBitfields;
      bmi_.colours[0] = 0xF800;
      bmi_.colours[1] = 0x07E0;
      bmi_.colours[2] = 0x001F;
      return;
    case 24:
      h.biBitCount = 32;
      h.biCompression = kBiRgb;
      h.biSizeImage = static_cast<std::uint32_t>(
          std::abs(static_cast<long long>(h.biWidth) * h.biHeight * 32 / 8));
      break;
    default:
      return;
  }
  h.biPlanes = 1;
  format_converted_ = 1;
}

bool vncDesktop::InitPixelFormat() {
  int width = bounds_.right - bounds_.left;
  int height = bounds_.bottom - bounds_.top;
  std::uint64_t row =
      DibRowBytes(static_cast<std::uint64_t>(width < 0 ? 0 : width), bmi_.header.biBitCount);
  // ScreenInfo holds 16-bit sizes and the frame must be addressable by the 32-bit program.
  if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF ||
      row * static_cast<std::uint64_t>(height) > kLargestFrame) {
    log_("unsupported screen size %dx%d\n", width, height);
    return false;
  }
  screen_info_ = ScreenInfo{};
  screen_info_.framebufferWidth = static_cast<std::uint16_t>(width);
  screen_info_.framebufferHeight = static_cast<std::uint16_t>(height);
  PixelFormat& f = screen_info_.format;
  f.bitsPerPixel = static_cast<std::uint8_t>(bmi_.header.biBitCount);
  f.depth = f.bitsPerPixel;
  f.bigEndian = 0;
  f.trueColour = static_cast<std::uint8_t>(true_colour_);
  bytes_per_row_ = static_cast<std::uint32_t>(row);
  frame_rows_ = static_cast<std::uint32_t>(height);
  return true;
}

bool vncDesktop::CreateBuffers() {
  if (!state_.options.bMultiThread) return CreateSingleBuffer();
  log_("attempting to create multiple DIB section buffers\n");
  if (CreateRing(format_converted_ == 0)) return true;
  return false;
}

bool vncDesktop::CreateSingleBuffer() {
  log_("attempting to create single DIB section\n");
  dib_bits_ = nullptr;
  if (format_converted_) return true;
  std::uint8_t* bits = nullptr;
  GdiObject section = ports_.gdi.CreateDIBSection(m_hmemdc, bmi_, &bits);
  if (section == 0 || bits == nullptr) {
    if (section != 0) ports_.gdi.DeleteObject(section);
    log_("failed to create DIB section - reverting to slow blits\n");
    return true;
  }
  ports_.gdi.DeleteObject(membitmap_);
  membitmap_ = section;
  dib_bits_ = bits;
  log_("enabled fast DIBsection blits OK\n");
  return true;
}

bool vncDesktop::CreateRing(bool use_dib_sections) {
  ring_made_ = true;
  for (int i = 0; i < kRingSlots; ++i) {
    CaptureSlot& slot = ring_.slots[i];
    if (use_dib_sections) {
      std::uint8_t* bits = nullptr;
      slot.bitmap = ports_.gdi.CreateDIBSection(m_hmemdc, bmi_, &bits);
      if (slot.bitmap == 0 || bits == nullptr) {
        log_("failed to create DIB section - reverting to slow blits\n");
        if (slot.bitmap != 0) ports_.gdi.DeleteObject(slot.bitmap);
        slot.bitmap = 0;
        ReleaseRing();
        return CreateRing(false);
      }
      slot.bits = bits;
      slot.buffer = bits;
    } else {
      std::size_t size = FrameBytes();
      slot.heap.reset(new (std::nothrow) std::uint8_t[size]);
      if (!slot.heap) {
        log_("unable to allocate main buffer[%d]\n", static_cast<int>(size));
        ReleaseRing();
        return false;
      }
      slot.buffer = slot.heap.get();
    }
    slot.buffer_size = FrameBytes();
    slot.rect = bounds_;
    slot.free_event = ports_.sync.CreateEvent(false, true);
    slot.filled_event = ports_.sync.CreateEvent(false, false);
  }
  if (use_dib_sections) log_("enabled fast DIBsection blits OK\n");
  return true;
}

bool vncDesktop::SetPixShifts() {
  std::uint32_t red = 0, green = 0, blue = 0;
  PixelFormat& f = screen_info_.format;
  switch (bmi_.header.biBitCount) {
    case 16:
      red = 0xF800;
      green = 0x07E0;
      blue = 0x001F;
      break;
    case 32:
      red = 0xFF0000;
      green = 0x00FF00;
      blue = 0x0000FF;
      f.depth = 24;
      break;
    default:
      if (true_colour_) {
        log_("unsupported truecolour pixel format for SetPixShifts()\n");
        return false;
      }
      log_("DBG:palette-based desktop in SetPixShifts()\n");
      return true;
  }
  f.redShift = static_cast<std::uint8_t>(TrailingZeros(red));
  f.redMax = static_cast<std::uint16_t>(red >> f.redShift);
  f.greenShift = static_cast<std::uint8_t>(TrailingZeros(green));
  f.greenMax = static_cast<std::uint16_t>(green >> f.greenShift);
  f.blueShift = static_cast<std::uint8_t>(TrailingZeros(blue));
  f.blueMax = static_cast<std::uint16_t>(blue >> f.blueShift);
  log_("DBG:true-color desktop in SetPixShifts()\n");
  return true;
}

bool vncDesktop::InitWindow() {
  Windowing& w = ports_.windowing;
  if (!class_registered_) class_registered_ = w.RegisterSinkClass(kSinkClassName, sink_procedure_);
  if (!KernelModeRendering()) {
    WindowShape shape{0, kWsOverlappedWindow, kCwUseDefault, kCwUseDefault, 400, 200};
    window_ = w.CreateSinkWindow(kSinkClassName, kSinkTitle, shape);
    if (window_ == 0) {
      log_("CreateWindow() failed.\n");
      return false;
    }
    return true;
  }
  DisplayMode mode;
  ports_.gdi.CurrentDisplayMode(mode);
  Rect frame{0, 0, static_cast<int>(mode.width), static_cast<int>(mode.height)};
  w.AdjustWindowRect(frame, kWsKernelModeSink);
  WindowShape shape{kWsExToolWindow,
                    kWsKernelModeSink,
                    static_cast<int>(mode.width),
                    static_cast<int>(mode.height),
                    frame.right - frame.left,
                    frame.bottom - frame.top};
  window_ = w.CreateSinkWindow(kSinkClassName, kSinkTitle, shape);
  if (window_ == 0) {
    log_("CreateWindow() special failed.\n");
    return false;
  }
  w.ShowWindow(window_, kSwShowNormal);
  w.UpdateWindow(window_);
  return true;
}

// False when this capture is to be skipped.
bool vncDesktop::CheckCooperativeLevel() {
  if (!direct_draw_) return true;
  bool wddm1_1 = state_.options.bUseKMDRenderWDDM1_1 != 0;
  std::int32_t result = direct_draw_->TestCooperativeLevel();
  if (result == kDdErrExclusiveModeAlreadySet) {
    log_("CaptureScreenFromAdapterGeneral: some other app has set exclusive mode!\n");
    if (!exclusive_mode_seen_) {
      exclusive_mode_seen_ = true;
      if (wddm1_1) {
        log_("CaptureScreenFromAdapterGeneral: Wait some time to let exclude mode steady...\n");
        ports_.clock.Sleep(kModeSteadyMs);
        return false;
      }
    }
    return true;
  }
  if (result == kDdErrWrongMode) {
    log_("CaptureScreenFromAdapterGeneral: The display mode has changed!\n");
    SetDisplayChanged(true);
    return false;
  }
  if (result < 0) return direct_draw_->SetCooperativeLevelNormal() >= 0;
  if (exclusive_mode_seen_) {
    log_("CaptureScreenFromAdapterGeneral: some other app has leave exclusive mode!\n");
    exclusive_mode_seen_ = false;
    if (wddm1_1) {
      log_("CaptureScreenFromAdapterGeneral: Wait some time to let window mode steady...\n");
      ports_.clock.Sleep(kModeSteadyMs);
      return false;
    }
  }
  return true;
}

void vncDesktop::CaptureScreenFromAdapterGeneral(const Rect& rect, std::uint8_t* destination,
                                                 std::size_t destination_size) {
  if (!CheckCooperativeLevel()) return;
  Gdi& gdi = ports_.gdi;
  gdi.GdiFlush();
  GdiObject previous = gdi.SelectObject(m_hmemdc, membitmap_);
  if (previous == 0) return;
  bool filled = FillMemoryBitmap(rect, destination, destination_size);
  gdi.SelectObject(m_hmemdc, previous);
  if (filled) CopyToBuffer(rect, destination, destination_size);
}

bool vncDesktop::FillMemoryBitmap(const Rect& rect, std::uint8_t* destination,
                                  std::size_t destination_size) {
  if (state_.options.bUseKMDRenderWDDM1_1) {
    FillThroughSinkWindow();
    return true;
  }
  if (state_.options.bUseKMDRenderWDDM1_0) {
    // The shadow buffer goes straight into the destination; the memory bitmap holds nothing of
    // this frame, so it must not be copied over it.
    ports_.kmd.CopyKMDScreenShadowBuffer(std::span<std::uint8_t>(destination, destination_size),
                                         bytes_per_row_);
    return false;
  }
  return ports_.gdi.BitBlt(m_hmemdc, rect.left - bounds_.left, rect.top - bounds_.top,
                           rect.right - rect.left, rect.bottom - rect.top, m_hrootdc, rect.left,
                           rect.top, kSrcCopy);
}

// The filter driver recognises this fill-and-blit sequence on the sink window and answers the
// last blit with the desktop image.
void vncDesktop::FillThroughSinkWindow() {
  Gdi& gdi = ports_.gdi;
  DcHandle window_dc = gdi.GetWindowDC(window_);
  GdiObject brush = gdi.CreateSolidBrush(kKernelSinkBrushColour);
  gdi.SelectObject(window_dc, brush);
  gdi.GdiFlush();
  gdi.FillRect(window_dc, kKernelSinkFill, brush);
  gdi.BitBlt(window_dc, 0, 0, kKernelSinkInvertWidth, kKernelSinkInvertHeight, m_hmemdc, 0, 0,
             kSrcInvert);
  gdi.GdiFlush();
  DisplayMode mode;
  gdi.CurrentDisplayMode(mode);
  gdi.BitBlt(m_hmemdc, 0, 0, static_cast<int>(mode.width), static_cast<int>(mode.height), window_dc,
             0, 0, kSrcCopy);
  gdi.GdiFlush();
  gdi.ReleaseWindowDC(window_, window_dc);
  gdi.DeleteObject(brush);
}

bool vncDesktop::RectFits(const Rect& rect, std::size_t destination_size) const {
  if (rect.left < bounds_.left || rect.top < bounds_.top || rect.right > bounds_.right ||
      rect.bottom > bounds_.bottom || rect.left >= rect.right || rect.top >= rect.bottom) {
    return false;
  }
  return static_cast<std::uint64_t>(rect.bottom - bounds_.top) * bytes_per_row_ <= destination_size;
}

void vncDesktop::CopyToBuffer(const Rect& rect, std::uint8_t* destination,
                              std::size_t destination_size) {
  if (destination == dib_bits_) return;
  if (!RectFits(rect, destination_size)) {
    log_("CopyToBuffer: rectangle does not fit the buffer!\n");
    return;
  }
  std::uint32_t pixel_bytes = screen_info_.format.bitsPerPixel / 8u;
  if (dib_bits_ != nullptr) {
    std::size_t offset = static_cast<std::size_t>(rect.top - bounds_.top) * bytes_per_row_ +
                         static_cast<std::size_t>(rect.left - bounds_.left) * pixel_bytes;
    std::size_t width_bytes = static_cast<std::size_t>(rect.right - rect.left) * pixel_bytes;
    for (int y = rect.top; y < rect.bottom; ++y) {
      std::memcpy(destination + offset, dib_bits_ + offset, width_bytes);
      offset += bytes_per_row_;
    }
    return;
  }
  std::uint32_t rows = static_cast<std::uint32_t>(rect.bottom - rect.top);
  bmi_.header.biSizeImage = rows * bytes_per_row_;
  std::uint8_t* start =
      destination + static_cast<std::size_t>(rect.top - bounds_.top) * bytes_per_row_;
  if (ports_.gdi.GetDIBits(m_hmemdc, membitmap_,
                           static_cast<std::uint32_t>(bounds_.bottom - bounds_.top - rect.bottom),
                           rows, start, bmi_) == 0) {
    log_("CopyToBuffer: GetDIBits failed! %d\n", static_cast<int>(ports_.gdi.LastError()));
    log_("CopyToBuffer: DC = %d, bitmap = %d\n", static_cast<int>(m_hmemdc),
         static_cast<int>(membitmap_));
    log_("CopyToBuffer: y = %d, height = %d\n", rect.top, static_cast<int>(rows));
  }
}

void vncDesktop::CaptureSlotFrame(int slot_index, const Rect& rect) {
  if (slot_index < 0 || slot_index >= kRingSlots) return;
  CaptureSlot& slot = ring_.slots[slot_index];
  if (slot.bitmap == 0) {
    CaptureScreenFromAdapterGeneral(rect, slot.buffer, slot.buffer_size);
    return;
  }
  GdiObject saved_bitmap = membitmap_;
  std::uint8_t* saved_bits = dib_bits_;
  membitmap_ = slot.bitmap;
  dib_bits_ = slot.bits;
  CaptureScreenFromAdapterGeneral(rect, slot.buffer, slot.buffer_size);
  membitmap_ = saved_bitmap;
  dib_bits_ = saved_bits;
}

void vncDesktop::ReleaseRing() {
  if (!ring_made_) return;
  for (CaptureSlot& slot : ring_.slots) {
    if (slot.bitmap != 0) ports_.gdi.DeleteObject(slot.bitmap);
    slot.bitmap = 0;
    slot.bits = nullptr;
    slot.buffer = nullptr;
    slot.buffer_size = 0;
    slot.heap.reset();
    slot.free_event.reset();
    slot.filled_event.reset();
  }
  ring_.captureIndex = 0;
  ring_.encodeIndex = 0;
  ring_.framesCaptured = 0;
  ring_.framesEncoded = 0;
  ring_made_ = false;
}

void vncDesktop::Shutdown() {
  direct_draw_.reset();
  if (state_.options.bUseKMDRenderWDDM1_0) {
    log_("Disconnect from WDDM 1.0 kernal-mode driver...\n");
    ports_.kmd.KmdDisconnect(state_.adapter);
  }
  if (window_ != 0) {
    ports_.windowing.DestroyWindow(window_);
    window_ = 0;
  }
  if (m_hrootdc != 0) {
    if (!ports_.gdi.ReleaseScreenDC(m_hrootdc)) log_("failed to DeleteDC(m_hrootdc)\n");
    m_hrootdc = 0;
  }
  if (m_hmemdc != 0) {
    if (!ports_.gdi.DeleteDC(m_hmemdc)) log_("failed to DeleteDC(m_hmemdc)\n");
    m_hmemdc = 0;
  }
  ReleaseRing();
  if (membitmap_ != 0) {
    if (!ports_.gdi.DeleteObject(membitmap_)) log_("failed to DeleteObject\n");
    membitmap_ = 0;
  }
  dib_bits_ = nullptr;
}

}  // namespace vexmark
