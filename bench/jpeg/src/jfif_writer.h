// The marker segments around the entropy-coded data of a baseline 4:2:0 YCbCr picture.
#pragma once

#include <cstddef>
#include <cstdint>

#include "quant_tables.h"

namespace ovjpeg {

// Upper bound of WriteHeaders' output.
inline constexpr std::size_t kMaxHeaderBytes = 1024;

// Writes SOI, JFIF APP0, DQT (luma table 0, chroma table 1), SOF0, the four standard DHT tables
// and SOS. `out` must have room for kMaxHeaderBytes. Returns the bytes written.
std::size_t WriteHeaders(std::uint8_t* out, int width, int height, const QuantTable& luma,
                         const QuantTable& chroma);

// EOI.
inline constexpr std::size_t kTrailerBytes = 2;
std::size_t WriteTrailer(std::uint8_t* out);

}  // namespace ovjpeg
