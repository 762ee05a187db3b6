// The encoder object: cuts a captured frame into tiles and compresses each with the JPEG
// library, straight from the frame for 32-bit BGRX desktops and through a packed RGB
// translation for other layouts; with the GPU encoder it feeds that encoder RGBA texels and
// routes full-screen encodes to it.
#pragma once
#include <cstdint>
#include <memory>
#include <span>

#include "bench/core/debug_log.h"
#include "bench/core/gdi.h"
#include "bench/core/kmd_client.h"
#include "bench/core/mj_gpu_encoder.h"
#include "bench/core/pixel_format.h"
#include "bench/core/rgb_translation.h"
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
  // Frames of width x height pixels in this format, rows packed.
  void SetLocalFormat(const PixelFormat& format, int width, int height);
  // The same with rows bytes_per_row apart (a DIB's rows are padded to 4 bytes).
  void SetLocalFormat(const PixelFormat& format, int width, int height,
                      std::uint32_t bytes_per_row);
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
  std::uint32_t EncodeJpegCPU(const std::uint8_t* tile, std::span<std::uint8_t> destination, int w,
                              int h, int quality);
  std::uint32_t EncodeJpegGPU(std::span<std::uint8_t> destination, int quality);

  DebugLog& log_;
  EncoderPorts ports_;
  RunState& state_;
  std::unique_ptr<MJGPUEncoder> m_pGPUEncoder;
  std::unique_ptr<std::uint8_t[]> rgb_buffer_;  // a translated tile
  std::size_t rgb_buffer_size_ = 0;
  bool fast_translate_ = false;
  bool bgrx_ = false;  // the library reads the frame's own pixels
  PixelFormat local_format_;
  PixelFormat remote_format_;
  RgbTranslator translator_;
  Rect full_screen_;
  std::uint32_t bytes_per_row_ = 0;
  int level_ = 0;
};

}  // namespace vexmark
