// The encoder object: cuts a captured frame into tiles, translates each to packed RGB and
// compresses it with the JPEG library; with the GPU encoder it feeds that encoder RGBA texels
// and routes full-screen encodes to it.
#pragma once
#include <cstdint>
#include <memory>
#include <span>

#include "bench/core/debug_log.h"
#include "bench/core/gdi.h"
#include "bench/core/kmd_client.h"
#include "bench/core/mj_gpu_encoder.h"
#include "bench/core/pixel_format.h"
#include "bench/core/run_state.h"

namespace vexmark {

struct EncoderLevel {
  int maxTileSize;  // pixels
  int maxTileWidth;
  int quality;
};
inline constexpr EncoderLevel kEncoderLevels[] = {{2621440, 2048, 80}};

struct EncoderPorts {
  Gdi& gdi;
  KmdClient& kmd;
  MJGPUEncoderFactory& gpu_factory;
  std::uint32_t process_id;
};

class vncEncoder {
 public:
  vncEncoder(DebugLog& log, const EncoderPorts& ports, RunState& state)
      : log_(log), ports_(ports), state_(state) {}
  ~vncEncoder();
  vncEncoder(const vncEncoder&) = delete;
  vncEncoder& operator=(const vncEncoder&) = delete;

  void Init(bool use_gpu_encoder);
  void SetLocalFormat(const PixelFormat& format, int width, int height);
  // Returns the JPEG size written at the start of destination (0 on failure).
  std::uint32_t Encode(std::span<const std::uint8_t> source, std::span<std::uint8_t> destination,
                       const Rect& rect);
  int PrepareSourceForGPU(std::span<const std::uint8_t> source, const Rect& rect);

  MJGPUEncoder* GpuEncoder() const { return m_pGPUEncoder.get(); }
  const Rect& FullScreen() const { return full_screen_; }

 private:
  void DropGpuEncoder();
  std::uint32_t EncodeTile(std::span<const std::uint8_t> source,
                           std::span<std::uint8_t> destination, int x, int y, int w, int h);
  std::uint32_t EncodeJpegCPU(std::span<std::uint8_t> destination, int w, int h, int quality);
  std::uint32_t EncodeJpegGPU(std::span<std::uint8_t> destination, int quality);

  DebugLog& log_;
  EncoderPorts ports_;
  RunState& state_;
  std::unique_ptr<MJGPUEncoder> m_pGPUEncoder;
  std::unique_ptr<std::uint8_t[]> tile_buffer_;
  std::size_t tile_buffer_size_ = 0;
  std::unique_ptr<std::uint8_t[]> rgb_buffer_;
  std::size_t rgb_buffer_size_ = 0;
  std::unique_ptr<std::uint8_t[]> rgba_buffer_;  // the frame handed to the GPU encoder
  std::size_t rgba_buffer_size_ = 0;
  bool fast_translate_ = false;
  PixelFormat local_format_;
  PixelFormat remote_format_;
  Rect full_screen_;
  std::uint32_t bytes_per_row_ = 0;
  int level_ = 0;
};

}  // namespace vexmark
