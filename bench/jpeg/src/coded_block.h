// A quantised block as the forward transform hands it to the Huffman coder.
#pragma once

#include <cstdint>

namespace ovjpeg {

struct CodedBlock {
  alignas(32) std::int16_t coefficient[64];  // transposed order: 8 x horizontal + vertical
  std::uint64_t mask;                        // bit i set when coefficient[i] != 0
};

}  // namespace ovjpeg
