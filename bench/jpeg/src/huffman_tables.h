// The standard's typical Huffman tables (Annex K.3) as they appear in a DHT segment, and the
// code words derived from them.
#pragma once

#include <array>
#include <cstdint>

namespace ovjpeg {

struct HuffmanSpec {
  std::array<std::uint8_t, 16> counts;  // number of codes of length 1..16
  const std::uint8_t* values;
  int value_count;
};

extern const HuffmanSpec kLuminanceDc;
extern const HuffmanSpec kLuminanceAc;
extern const HuffmanSpec kChrominanceDc;
extern const HuffmanSpec kChrominanceAc;

// Code word and its length for each symbol (0 length: symbol has no code).
struct HuffmanCodes {
  std::array<std::uint16_t, 256> code;
  std::array<std::uint8_t, 256> length;
  // The coding loop's form: a symbol's low 4 bits are the size of the value bits that follow
  // its code, so code << size and length + size are stored together as
  // (code << size) << 5 | (length + size) (27 + 5 bits at most).
  std::array<std::uint32_t, 256> packed;
};

HuffmanCodes DeriveCodes(const HuffmanSpec& table);

}  // namespace ovjpeg

namespace ovjpeg {

struct StandardCodes {
  HuffmanCodes luma_dc, luma_ac, chroma_dc, chroma_ac;
};

// The codes of the four tables above, derived once.
const StandardCodes& StandardHuffmanCodes();

}  // namespace ovjpeg
