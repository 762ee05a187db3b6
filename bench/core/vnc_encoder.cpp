#include "bench/core/vnc_encoder.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "bench/core/jpeg_compress.h"
#include "bench/core/rgb_translation.h"

namespace vexmark {

namespace {

bool Grow(std::unique_ptr<std::uint8_t[]>& buffer, std::size_t& size, std::size_t needed) {
  if (size >= needed) return true;
  buffer.reset(new (std::nothrow) std::uint8_t[needed]);
  size = buffer ? needed : 0;
  return buffer != nullptr;
}

}  // namespace

vncEncoder::~vncEncoder() {
  log_("In ~vncEncoder()...\n");
  DropGpuEncoder();
}

void vncEncoder::DropGpuEncoder() {
  if (m_pGPUEncoder) m_pGPUEncoder->ReleaseResources();
  m_pGPUEncoder.reset();
}

void vncEncoder::Init(bool use_gpu_encoder) {
  DisplayMode mode;
  ports_.gdi.CurrentDisplayMode(mode);
  full_screen_ = Rect{0, 0, static_cast<int>(mode.width), static_cast<int>(mode.height)};
  DropGpuEncoder();
  if (!use_gpu_encoder) return;
  m_pGPUEncoder = ports_.gpu_factory.Create();
  if (!m_pGPUEncoder) {
    log_("vncEncoder::Init: No memory to allocate GPUEncoder!\n");
    return;
  }
  if (mode.bitsPerPixel == 8) {
    log_("vncEncoder::Init: Not support 8bpp to use GPUEncoder!\n");
    m_pGPUEncoder.reset();
    return;
  }
  if (mode.bitsPerPixel == 16) {
    log_("vncEncoder::Init: 16bpp. Disable GPUEncoderCapture.\n");
    state_.g_bUseGPUEncoderCapture = 0;
  } else if (state_.options.bUseKMDRenderWDDM1_0) {
    state_.g_bUseGPUEncoderCapture = 1;
    ports_.kmd.KmdSetRenderState(state_.adapter, 0, ports_.process_id);
  }
  if (!m_pGPUEncoder->CreateContext(static_cast<int>(mode.width), static_cast<int>(mode.height),
                                    state_.options.quality)) {
    log_("vncEncoder::Init: m_pGPUEncoder->CreateContext() returned fail!\n");
    DropGpuEncoder();
  }
}

void vncEncoder::SetLocalFormat(const PixelFormat& format, int width, int /*height*/) {
  local_format_ = format;
  remote_format_ = format;
  bytes_per_row_ = static_cast<std::uint32_t>(DibRowBytes(width, format.bitsPerPixel));
}

std::uint32_t vncEncoder::Encode(std::span<const std::uint8_t> source,
                                 std::span<std::uint8_t> destination, const Rect& rect) {
  if (m_pGPUEncoder && rect == full_screen_) {
    return EncodeJpegGPU(destination, kEncoderLevels[level_].quality);
  }
  const EncoderLevel& level = kEncoderLevels[level_];
  std::size_t needed =
      static_cast<std::size_t>(remote_format_.bitsPerPixel / 8) * level.maxTileSize;
  if (!Grow(tile_buffer_, tile_buffer_size_, needed + 1)) return 0;
  fast_translate_ = IsFastTranslateFormat(remote_format_);

  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return 0;
  if (width <= level.maxTileWidth && static_cast<long long>(width) * height <= level.maxTileSize) {
    return EncodeTile(source, destination, rect.left, rect.top, width, height);
  }
  int rows_per_tile = level.maxTileSize / std::min(width, level.maxTileWidth);
  std::uint32_t size = 0;
  for (int y = rect.top; y < rect.bottom; y += rows_per_tile) {
    int h = std::min(rows_per_tile, rect.bottom - y);
    for (int x = rect.left; x < rect.right; x += level.maxTileWidth) {
      int w = std::min(level.maxTileWidth, rect.right - x);
      // Every tile lands at the start of the destination; the last one is what remains.
      size = EncodeTile(source, destination, x, y, w, h);
    }
  }
  return size;
}

std::uint32_t vncEncoder::EncodeTile(std::span<const std::uint8_t> source,
                                     std::span<std::uint8_t> destination, int x, int y, int w,
                                     int h) {
  std::size_t pixel_bytes = remote_format_.bitsPerPixel / 8u;
  std::size_t row_bytes = static_cast<std::size_t>(w) * pixel_bytes;
  std::size_t first = static_cast<std::size_t>(y) * bytes_per_row_ + x * pixel_bytes;
  std::size_t last_end = first + static_cast<std::size_t>(h - 1) * bytes_per_row_ + row_bytes;
  if (x < 0 || y < 0 || last_end > source.size() || row_bytes * h > tile_buffer_size_) {
    log_("vncEncoder: tile outside the source frame!\n");
    return 0;
  }
  for (int row = 0; row < h; ++row) {
    std::memcpy(tile_buffer_.get() + row * row_bytes,
                source.data() + first + static_cast<std::size_t>(row) * bytes_per_row_, row_bytes);
  }
  return EncodeJpegCPU(destination, w, h, kEncoderLevels[level_].quality);
}

std::uint32_t vncEncoder::EncodeJpegCPU(std::span<std::uint8_t> destination, int w, int h,
                                        int quality) {
  if (local_format_.bitsPerPixel == 8) {
    // Palette pixels are passed on raw: the tile's own packed rows.
    std::size_t bytes = std::min(static_cast<std::size_t>(w) * h, destination.size());
    std::memcpy(destination.data(), tile_buffer_.get(), bytes);
    return static_cast<std::uint32_t>(bytes);
  }
  std::size_t rgb_bytes = static_cast<std::size_t>(w) * h * 3;
  int size = 0;
  if (Grow(rgb_buffer_, rgb_buffer_size_, rgb_bytes)) {
    std::size_t pixel_bytes = remote_format_.bitsPerPixel / 8u;
    for (int row = 0; row < h; ++row) {
      TranslateRowToRgb(tile_buffer_.get() + static_cast<std::size_t>(row) * w * pixel_bytes,
                        rgb_buffer_.get() + static_cast<std::size_t>(row) * w * 3, w, local_format_,
                        remote_format_, fast_translate_);
    }
    size = JpegCompress(rgb_buffer_.get(), w, h, destination.data(), destination.size(), quality);
  }
  if (size == 0) log_("EncodeJpegCPU: Jpeg::Compress failed! %d\n", size);
  return static_cast<std::uint32_t>(size);
}

std::uint32_t vncEncoder::EncodeJpegGPU(std::span<std::uint8_t> destination, int quality) {
  m_pGPUEncoder->SetQuality(quality);
  m_pGPUEncoder->RunGpuPasses();
  std::uint32_t size = 0;
  if (!m_pGPUEncoder->CPUEncodeVLE_IJL(destination, size)) {
    log_("EncodeJpegGPU: m_pGPUEncoder->CPUEncodeVLE_IJL failed!\n");
    size = 0;
  }
  m_pGPUEncoder->ClearSourceReady();
  return size;
}

int vncEncoder::PrepareSourceForGPU(std::span<const std::uint8_t> source, const Rect& rect) {
  if (!m_pGPUEncoder) return 0;
  if (m_pGPUEncoder->SourceReady()) return 1;
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  std::size_t pixel_bytes = local_format_.bitsPerPixel / 8u;
  std::size_t row_bytes = static_cast<std::size_t>(width) * pixel_bytes;
  if (width <= 0 || height <= 0 ||
      static_cast<std::size_t>(height - 1) * bytes_per_row_ + row_bytes > source.size()) {
    return 0;
  }
  std::size_t rgba_bytes = static_cast<std::size_t>(width) * height * 4;
  if (!Grow(rgba_buffer_, rgba_buffer_size_, rgba_bytes)) return 0;
  for (int row = 0; row < height; ++row) {
    TranslateRowToRgba(source.data() + static_cast<std::size_t>(row) * bytes_per_row_,
                       rgba_buffer_.get() + static_cast<std::size_t>(row) * width * 4, width,
                       local_format_);
  }
  bool ok = m_pGPUEncoder->ReadSourceFromMemory(
      std::span<const std::uint8_t>(rgba_buffer_.get(), rgba_bytes));
  if (!ok) {
    log_("m_pGPUEncoder->ReadSourceFromMemory failed!\n");
    m_pGPUEncoder->ReleaseResources();
  }
  return ok ? 1 : 0;
}

}  // namespace vexmark
