// libjpeg-turbo as the reference decoder and the encoder we compare with (host tests only).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "test_images.h"

namespace ovjpeg::testing {

// Decodes a JPEG to packed RGB; nullopt when libjpeg-turbo rejects the stream.
std::optional<RgbImage> DecodeWithTurbo(const std::vector<std::uint8_t>& jpeg);

// Baseline 4:2:0 at `quality` with the standard tables, accurate DCT, standard Huffman tables.
std::vector<std::uint8_t> EncodeWithTurbo(const RgbImage& image, int quality);

// A compressor with its handle and output buffer kept across calls, so that repeated encodes
// measure compression, not allocation. Same settings as EncodeWithTurbo.
class TurboCompressor {
 public:
  TurboCompressor(int width, int height);
  ~TurboCompressor();
  TurboCompressor(const TurboCompressor&) = delete;
  TurboCompressor& operator=(const TurboCompressor&) = delete;

  // Returns the stream size, 0 on failure; the stream stays valid until the next call.
  std::size_t Compress(const RgbImage& image, int quality);
  std::vector<std::uint8_t> Stream() const { return {buffer_, buffer_ + size_}; }

 private:
  void* handle_;
  unsigned char* buffer_;
  unsigned long capacity_;
  unsigned long size_ = 0;
};

// What libjpeg's coefficient API reads from a stream.
struct DecodedCoefficients {
  int width = 0;
  int height = 0;
  std::array<int, 3> blocks_per_row{};
  std::array<int, 3> block_rows{};
  std::array<std::vector<std::int16_t>, 3> planes;              // natural order, 64 per block
  std::array<std::array<std::uint16_t, 64>, 3> quant_tables{};  // per component, natural order
};

std::optional<DecodedCoefficients> ReadCoefficients(const std::vector<std::uint8_t>& jpeg);

}  // namespace ovjpeg::testing
