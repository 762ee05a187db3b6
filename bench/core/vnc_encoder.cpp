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

void vncEncoder::SetLocalFormat(const PixelFormat& format, int width, int height) {
  SetLocalFormat(format, width, height,
                 static_cast<std::uint32_t>(DibRowBytes(width, format.bitsPerPixel)));
}

void vncEncoder::SetLocalFormat(const PixelFormat& format, int /*width*/, int /*height*/,
                                std::uint32_t bytes_per_row) {
  local_format_ = format;
  remote_format_ = format;
  bytes_per_row_ = bytes_per_row;
  fast_translate_ = IsFastTranslateFormat(remote_format_);
  bgrx_ = IsBgrxFormat(local_format_, remote_format_);
  translator_ = RgbTranslator(local_format_, remote_format_, fast_translate_);
}

std::uint32_t vncEncoder::Encode(std::span<const std::uint8_t> source,
                                 std::span<std::uint8_t> destination, const Rect& rect) {
  if (m_pGPUEncoder && rect == full_screen_) {
    return EncodeJpegGPU(destination, kEncoderLevels[level_].quality);
  }
  const EncoderLevel& level = kEncoderLevels[level_];
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

// The tile is read where it lies in the frame; nothing is copied out first.
std::uint32_t vncEncoder::EncodeTile(std::span<const std::uint8_t> source,
                                     std::span<std::uint8_t> destination, int x, int y, int w,
                                     int h) {
  std::size_t pixel_bytes = remote_format_.bitsPerPixel / 8u;
  std::size_t row_bytes = static_cast<std::size_t>(w) * pixel_bytes;
  std::size_t first = static_cast<std::size_t>(y) * bytes_per_row_ + x * pixel_bytes;
  std::size_t last_end = first + static_cast<std::size_t>(h - 1) * bytes_per_row_ + row_bytes;
  if (x < 0 || y < 0 || pixel_bytes == 0 || row_bytes > bytes_per_row_ ||
      last_end > source.size()) {
    log_("vncEncoder: tile outside the source frame!\n");
    return 0;
  }
  return EncodeJpegCPU(source.data() + first, destination, w, h, kEncoderLevels[level_].quality);
}

std::uint32_t vncEncoder::EncodeJpegCPU(const std::uint8_t* tile,
                                        std::span<std::uint8_t> destination, int w, int h,
                                        int quality) {
  if (local_format_.bitsPerPixel == 8) {
    // Palette pixels are passed on raw: the tile's own rows, packed.
    std::size_t bytes = std::min(static_cast<std::size_t>(w) * h, destination.size());
    for (std::size_t done = 0, row = 0; done < bytes; done += w, ++row) {
      std::memcpy(destination.data() + done, tile + row * bytes_per_row_,
                  std::min<std::size_t>(w, bytes - done));
    }
    return static_cast<std::uint32_t>(bytes);
  }
  int size = 0;
  if (bgrx_) {
    size = JpegCompress({tile, w, h, bytes_per_row_, true}, destination.data(), destination.size(),
                        quality);
  } else if (Grow(rgb_buffer_, rgb_buffer_size_, static_cast<std::size_t>(w) * h * 3)) {
    for (int row = 0; row < h; ++row) {
      translator_.ToRgb(tile + static_cast<std::size_t>(row) * bytes_per_row_,
                        rgb_buffer_.get() + static_cast<std::size_t>(row) * w * 3, w);
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
  if (width <= 0 || height <= 0 || row_bytes > bytes_per_row_ ||
      static_cast<std::size_t>(height - 1) * bytes_per_row_ + row_bytes > source.size()) {
    return 0;
  }
  // Each row is converted straight into the encoder's upload memory.
  bool ok = m_pGPUEncoder->ReadSourceFromRows([&](int row, std::uint8_t* texels) {
    translator_.ToRgba(source.data() + static_cast<std::size_t>(row) * bytes_per_row_, texels,
                       width);
  });
  if (!ok) {
    log_("m_pGPUEncoder->ReadSourceFromMemory failed!\n");
    m_pGPUEncoder->ReleaseResources();
  }
  return ok ? 1 : 0;
}

}  // namespace vexmark
